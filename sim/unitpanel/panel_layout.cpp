#include "sim/unitpanel/panel_layout.h"

namespace {

constexpr int DesignDpi = 96;
constexpr int DesignWidth = 480;
constexpr int DesignHeight = 204;
constexpr int Margin = 10;
constexpr int DisplayBottom = 104;
constexpr int StripTop = 107;
constexpr int StripBottom = 124;
constexpr int UpperRowTop = 130;
constexpr int LowerRowTop = 166;
constexpr int KeyHeight = 28;
constexpr int KeyGap = 4;
constexpr int GroupGap = 14;

// The rows' keys, group by group: POWER | five sources | MUTE, N.B. above; VOL -, VOL + |
// five transport keys | the source's - and + below.
constexpr int UpperGroups[] = {1, 5, 2};
constexpr int LowerGroups[] = {2, 5, 2};

template <int N>
void LayoutRow(const int (&groups)[N], int firstSlot, int top, int dpi, PanelLayout& layout) {
    int keys = 0;
    for (int size : groups) {
        keys += size;
    }
    const int left = ScaleToDpi(Margin, dpi);
    const int width = ScaleToDpi(DesignWidth - 2 * Margin, dpi);
    const int gap = ScaleToDpi(KeyGap, dpi);
    const int groupGap = ScaleToDpi(GroupGap, dpi);
    const int gaps = (keys - N) * gap + (N - 1) * groupGap;
    const int keyWidth = (width - gaps) / keys;
    // What the whole pixels leave over widens the gaps between groups, so both ends line up.
    const int spare = width - gaps - keyWidth * keys;
    const int y0 = ScaleToDpi(top, dpi);
    const int y1 = ScaleToDpi(top + KeyHeight, dpi);
    int x = left;
    int slot = firstSlot;
    for (int g = 0; g < N; ++g) {
        if (g > 0) {
            x += groupGap + spare / (N - 1) + (g == N - 1 ? spare % (N - 1) : 0);
        }
        for (int k = 0; k < groups[g]; ++k) {
            if (k > 0) {
                x += gap;
            }
            layout.keys[slot++] = {x, y0, x + keyWidth, y1};
            x += keyWidth;
        }
    }
}

void LayoutDisplay(int dpi, PanelLayout& layout) {
    const int width = layout.display.right - layout.display.left;
    const int height = layout.display.bottom - layout.display.top;
    const int inset = ScaleToDpi(3, dpi);
    const int textLeft = ScaleToDpi(14, dpi);
    const int textRight = width - textLeft;
    layout.glass = {inset, inset, width - inset, height - inset};
    layout.large = DotLineAt(3, dpi);
    layout.small = DotLineAt(2, dpi);
    const int annunciatorTop = ScaleToDpi(9, dpi);
    layout.annunciators = {textLeft, annunciatorTop, textRight,
                           annunciatorTop + ScaleToDpi(12, dpi)};
    const int mainTop = ScaleToDpi(28, dpi);
    layout.mainLine = {textLeft, mainTop, textRight, mainTop + layout.large.Height()};
    const int barTop = ScaleToDpi(56, dpi);
    layout.bar = {textLeft, barTop, textRight, barTop + ScaleToDpi(6, dpi)};
    const int subTop = ScaleToDpi(71, dpi);
    layout.subLine = {textLeft, subTop, textRight, subTop + layout.small.Height()};
    layout.barSegments = 40;
    layout.barGap = ScaleToDpi(2, dpi);
}

} // namespace

PanelLayout LayoutPanel(int dpi) {
    if (dpi < DesignDpi / 2) {
        dpi = DesignDpi;
    }
    PanelLayout layout = {};
    layout.dpi = dpi;
    layout.clientWidth = ScaleToDpi(DesignWidth, dpi);
    layout.clientHeight = ScaleToDpi(DesignHeight, dpi);
    const int left = ScaleToDpi(Margin, dpi);
    const int right = layout.clientWidth - left;
    layout.display = {left, left, right, ScaleToDpi(DisplayBottom, dpi)};
    layout.strip = {left, ScaleToDpi(StripTop, dpi), right, ScaleToDpi(StripBottom, dpi)};
    LayoutRow(UpperGroups, 0, UpperRowTop, dpi, layout);
    LayoutRow(LowerGroups, PanelUpperSlots, LowerRowTop, dpi, layout);
    LayoutDisplay(dpi, layout);
    layout.keyFont = ScaleToDpi(10, dpi);
    layout.captionFont = ScaleToDpi(8, dpi);
    layout.annunciatorFont = ScaleToDpi(9, dpi);
    layout.stripFont = ScaleToDpi(11, dpi);
    layout.corner = ScaleToDpi(6, dpi);
    layout.glyph = ScaleToDpi(10, dpi);
    layout.led = ScaleToDpi(4, dpi);
    layout.bevel = ScaleToDpi(1, dpi);
    return layout;
}
