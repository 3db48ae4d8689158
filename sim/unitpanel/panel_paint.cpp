#include "sim/unitpanel/panel_paint.h"

#include "tray/dot_matrix_paint.h"

#include <cstdio>
#include <cstring>

namespace {

using namespace unit_display_colours;

// A dark body with a vacuum-fluorescent display, as the unit's own front.
constexpr COLORREF Body = RGB(44, 46, 51);
constexpr COLORREF BodyEdge = RGB(62, 65, 71);
constexpr COLORREF LitGrey = RGB(122, 127, 132);
constexpr COLORREF GhostGrey = RGB(26, 28, 30);
constexpr COLORREF KeyFace = RGB(68, 71, 77);
constexpr COLORREF KeyFacePressed = RGB(50, 52, 57);
constexpr COLORREF KeyHighlight = RGB(100, 104, 112);
constexpr COLORREF KeyOutline = RGB(20, 21, 24);
constexpr COLORREF KeyLabel = RGB(232, 234, 238);
constexpr COLORREF KeyLabelDisabled = RGB(112, 116, 122);
constexpr COLORREF FocusRing = Lit;
constexpr COLORREF LedStandby = RGB(255, 56, 44);
constexpr COLORREF LedDark = RGB(72, 26, 24);
constexpr COLORREF StripNewest = RGB(214, 218, 224);
constexpr COLORREF StripOlder = RGB(136, 140, 148);
constexpr COLORREF StripCaption = RGB(104, 108, 116);

// The first of these that the system has: Windows' own faces, then one that Wine finds on a
// Linux desktop (its substitutes for the Windows faces draw bitmap glyphs at these sizes).
constexpr const char* FontFaces[] = {"Segoe UI", "Tahoma", "DejaVu Sans"};
constexpr char StripCaptionText[] = "DRIVER LOG";
constexpr int VolumeDigits = 2;

// The annunciators of the sources, in the order of the unit's input numbers.
constexpr int AnnouncedSources[] = {4, 0, 1, 2, 3};
constexpr int AnnouncedModes[] = {1, 2, 3};

class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, previous_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

HBRUSH DcBrush() {
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    const RECT rect = {left, top, right, bottom};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, DcBrush());
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    Fill(dc, rect.left, rect.top, rect.right, rect.bottom, colour);
}

void RoundedBox(HDC dc, const RECT& rect, int corner, COLORREF fill, COLORREF edge) {
    Selected pen(dc, GetStockObject(DC_PEN));
    Selected brush(dc, DcBrush());
    SetDCPenColor(dc, edge);
    SetDCBrushColor(dc, fill);
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void RoundedRing(HDC dc, const RECT& rect, int corner, COLORREF edge) {
    Selected pen(dc, GetStockObject(DC_PEN));
    Selected brush(dc, GetStockObject(NULL_BRUSH));
    SetDCPenColor(dc, edge);
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

int CALLBACK NoteFaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

const char* PanelFontFace() {
    HDC screen = GetDC(nullptr);
    const char* chosen = FontFaces[0];
    for (const char* face : FontFaces) {
        LOGFONTA wanted = {};
        wanted.lfCharSet = DEFAULT_CHARSET;
        std::snprintf(wanted.lfFaceName, sizeof(wanted.lfFaceName), "%s", face);
        bool found = false;
        if (screen != nullptr) {
            EnumFontFamiliesExA(screen, &wanted, NoteFaceFound, reinterpret_cast<LPARAM>(&found),
                                0);
        }
        if (found) {
            chosen = face;
            break;
        }
    }
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return chosen;
}

HFONT MakeFont(const char* face, int height, int weight) {
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face);
}

int TextWidth(HDC dc, const char* text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    return size.cx;
}

void Text(HDC dc, int x, int y, const char* text, COLORREF colour) {
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// --- the display ---

struct DisplayColours {
    COLORREF lit;
    COLORREF ghost;
};

DisplayColours ColoursOf(const PanelView& view) {
    if (view.link != PanelLink::Ready) {
        return {LitGrey, GhostGrey};
    }
    return {view.powerOn ? Lit : LitStandby, Ghost};
}

void PaintAnnunciators(HDC dc, int x0, int y0, const PanelLayout& layout, const PanelFonts& fonts,
                       const PanelView& view, const DisplayColours& colours) {
    Selected font(dc, fonts.annunciator);
    const bool on = view.link == PanelLink::Ready && view.powerOn;
    const int gap = ScaleToDpi(11, layout.dpi);
    const int y = y0 + layout.annunciators.top;
    int x = x0 + layout.annunciators.left;
    for (int source : AnnouncedSources) {
        const char* name = PanelSourceName(source);
        Text(dc, x, y, name, on && view.source == source ? colours.lit : colours.ghost);
        x += TextWidth(dc, name) + gap;
    }
    x = x0 + layout.annunciators.right - TextWidth(dc, "MUTE");
    Text(dc, x, y, "MUTE", on && view.muted ? Amber : colours.ghost);
    for (int i = sizeof(AnnouncedModes) / sizeof(AnnouncedModes[0]) - 1; i >= 0; --i) {
        const char* name = PanelSoundModeName(AnnouncedModes[i]);
        x -= gap + TextWidth(dc, name);
        Text(dc, x, y, name,
             on && view.soundMode == AnnouncedModes[i] ? colours.lit : colours.ghost);
    }
}

// The volume's two large digits at the right end of the main line, "VOL" beside them.
int PaintVolume(HDC dc, int x0, int y0, const PanelLayout& layout, const PanelFonts& fonts,
                const PanelView& view, const DisplayColours& colours) {
    const DotLine& line = layout.large;
    const int digitsWidth = VolumeDigits * line.Advance() - line.pitch;
    const int right = x0 + layout.mainLine.right;
    const int top = y0 + layout.mainLine.top;
    PaintDotCells(dc, right - digitsWidth, top, line, VolumeDigits, colours.ghost);
    const bool on = view.link == PanelLink::Ready && view.powerOn;
    Selected font(dc, fonts.annunciator);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int labelX = right - digitsWidth - ScaleToDpi(6, layout.dpi) - TextWidth(dc, "VOL");
    Text(dc, labelX, top + line.Height() - metrics.tmAscent, "VOL",
         on ? colours.lit : colours.ghost);
    if (on) {
        char digits[8];
        const int volume = view.volume < 0 ? 0 : view.volume > 99 ? 99 : view.volume;
        digits[0] = volume >= 10 ? static_cast<char>('0' + volume / 10) : ' ';
        digits[1] = static_cast<char>('0' + volume % 10);
        digits[2] = '\0';
        PaintDotText(dc, right - digitsWidth, top, line, digits, colours.lit);
    }
    return labelX;
}

void PaintBar(HDC dc, int x0, int y0, const PanelLayout& layout, const PanelView& view,
              const DisplayColours& colours) {
    const bool on = view.link == PanelLink::Ready && view.powerOn;
    const int segments = layout.barSegments;
    const int volume = view.volume < 0 ? 0 : view.volume;
    // Two volume steps to a segment: 80 lights all forty.
    const int lit = on ? (volume + 1) / 2 : 0;
    const int left = x0 + layout.bar.left;
    const int span = layout.bar.right - layout.bar.left + layout.barGap;
    for (int i = 0; i < segments; ++i) {
        const int x1 = left + i * span / segments;
        const int x2 = left + (i + 1) * span / segments - layout.barGap;
        Fill(dc, x1, y0 + layout.bar.top, x2, y0 + layout.bar.bottom,
             i < lit ? (view.muted ? Amber : colours.lit) : colours.ghost);
    }
}

// --- the keys' symbols, on a 12 by 12 grid ---

struct Shape {
    char kind; // 'R': rectangle x0 y0 x1 y1; 'T': triangle x0 y0 x1 y1 x2 y2
    signed char v[6];
};

struct GlyphDrawing {
    PanelGlyph glyph;
    Shape shapes[3];
};

constexpr GlyphDrawing GlyphDrawings[] = {
    {GlyphPlay, {{'T', {3, 1, 3, 11, 10, 6}}}},
    {GlyphPlayPause, {{'T', {0, 1, 0, 11, 6, 6}}, {'R', {7, 1, 9, 11}}, {'R', {10, 1, 12, 11}}}},
    {GlyphStop, {{'R', {2, 2, 10, 10}}}},
    {GlyphPrevious,
     {{'R', {0, 1, 2, 11}}, {'T', {7, 1, 7, 11, 2, 6}}, {'T', {12, 1, 12, 11, 7, 6}}}},
    {GlyphNext, {{'T', {0, 1, 0, 11, 5, 6}}, {'T', {5, 1, 5, 11, 10, 6}}, {'R', {10, 1, 12, 11}}}},
    {GlyphEject, {{'T', {1, 7, 11, 7, 6, 1}}, {'R', {1, 9, 11, 11}}}},
    {GlyphReverse, {{'T', {9, 1, 9, 11, 2, 6}}}},
    {GlyphRewind, {{'T', {6, 1, 6, 11, 0, 6}}, {'T', {12, 1, 12, 11, 6, 6}}}},
    {GlyphFastForward, {{'T', {0, 1, 0, 11, 6, 6}}, {'T', {6, 1, 6, 11, 12, 6}}}},
    {GlyphMinus, {{'R', {1, 5, 11, 7}}}},
    {GlyphPlus, {{'R', {1, 5, 11, 7}}, {'R', {5, 1, 7, 11}}}},
};
constexpr int GlyphGrid = 12;

void PaintGlyph(HDC dc, PanelGlyph glyph, int left, int top, int size, COLORREF colour) {
    Selected pen(dc, GetStockObject(DC_PEN));
    Selected brush(dc, DcBrush());
    SetDCPenColor(dc, colour);
    SetDCBrushColor(dc, colour);
    auto at = [size](int v) { return (v * size + GlyphGrid / 2) / GlyphGrid; };
    for (const GlyphDrawing& drawing : GlyphDrawings) {
        if (drawing.glyph != glyph) {
            continue;
        }
        for (const Shape& shape : drawing.shapes) {
            const signed char* v = shape.v;
            if (shape.kind == 'R') {
                const RECT rect = {left + at(v[0]), top + at(v[1]), left + at(v[2]),
                                   top + at(v[3])};
                FillRect(dc, &rect, DcBrush());
            } else if (shape.kind == 'T') {
                const POINT points[3] = {{left + at(v[0]), top + at(v[1])},
                                         {left + at(v[2]), top + at(v[3])},
                                         {left + at(v[4]), top + at(v[5])}};
                Polygon(dc, points, 3);
            }
        }
    }
}

void PaintLed(HDC dc, int centreX, int centreY, int size, bool lit) {
    Selected pen(dc, GetStockObject(DC_PEN));
    Selected brush(dc, DcBrush());
    SetDCPenColor(dc, lit ? LedStandby : LedDark);
    SetDCBrushColor(dc, lit ? LedStandby : LedDark);
    const int half = size / 2;
    Ellipse(dc, centreX - half, centreY - half, centreX - half + size, centreY - half + size);
}

void PaintKeyLabel(HDC dc, RECT rect, const PanelLayout& layout, const PanelFonts& fonts,
                   const PanelKey& key, const KeyLook& look) {
    const COLORREF colour = look.disabled ? KeyLabelDisabled : KeyLabel;
    SetTextColor(dc, colour);
    if (key.id == PanelPowerKeyId) {
        // The standby light sits in the key, above its name.
        const int ledY = rect.top + ScaleToDpi(6, layout.dpi);
        PaintLed(dc, (rect.left + rect.right) / 2, ledY, layout.led, look.standbyLit);
        rect.top = ledY + layout.led / 2;
    }
    const char* caption = key.caption != nullptr ? key.caption : key.name;
    if (key.glyph == GlyphNone) {
        Selected font(dc, fonts.key);
        const UINT prefix = key.caption != nullptr ? DT_NOPREFIX
                            : look.hideAccessKey   ? DT_HIDEPREFIX
                                                   : 0;
        DrawTextA(dc, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
        return;
    }
    const int size = layout.glyph;
    const int centreX = (rect.left + rect.right) / 2;
    int glyphTop = (rect.top + rect.bottom - size) / 2;
    if (caption[0] != '\0') {
        Selected font(dc, fonts.caption);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        const int gap = ScaleToDpi(1, layout.dpi);
        const int top = (rect.top + rect.bottom - metrics.tmHeight - gap - size) / 2;
        Text(dc, centreX - TextWidth(dc, caption) / 2, top, caption, colour);
        glyphTop = top + metrics.tmHeight + gap;
    }
    PaintGlyph(dc, key.glyph, centreX - size / 2, glyphTop, size, colour);
}

} // namespace

PanelFonts CreatePanelFonts(const PanelLayout& layout) {
    const char* face = PanelFontFace();
    PanelFonts fonts;
    fonts.key = MakeFont(face, layout.keyFont, FW_BOLD);
    fonts.caption = MakeFont(face, layout.captionFont, FW_BOLD);
    fonts.annunciator = MakeFont(face, layout.annunciatorFont, FW_BOLD);
    fonts.strip = MakeFont(face, layout.stripFont, FW_NORMAL);
    return fonts;
}

void DeletePanelFonts(PanelFonts& fonts) {
    HFONT* const all[] = {&fonts.key, &fonts.caption, &fonts.annunciator, &fonts.strip};
    for (HFONT* font : all) {
        if (*font != nullptr) {
            DeleteObject(*font);
            *font = nullptr;
        }
    }
}

OffscreenPaint::OffscreenPaint(HDC target, const RECT& rect) : target_(target), rect_(rect) {
    memory_ = CreateCompatibleDC(target);
    if (memory_ != nullptr) {
        bitmap_ = CreateCompatibleBitmap(target, rect.right - rect.left, rect.bottom - rect.top);
    }
    if (bitmap_ != nullptr) {
        previous_ = SelectObject(memory_, bitmap_);
        buffered_ = true;
    }
}

OffscreenPaint::~OffscreenPaint() {
    if (previous_ != nullptr) {
        SelectObject(memory_, previous_);
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
    if (memory_ != nullptr) {
        DeleteDC(memory_);
    }
}

RECT OffscreenPaint::Area() const {
    if (!buffered_) {
        return rect_;
    }
    return {0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top};
}

void OffscreenPaint::CopyTo() const {
    if (buffered_) {
        BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
               memory_, 0, 0, SRCCOPY);
    }
}

void PaintBody(HDC dc, const RECT& area) {
    Fill(dc, area, Body);
    Fill(dc, area.left, area.top, area.right, area.top + 1, BodyEdge);
}

void PaintDisplay(HDC dc, const RECT& area, const PanelLayout& layout, const PanelFonts& fonts,
                  const PanelView& view) {
    Fill(dc, area, Body);
    RoundedBox(dc, area, layout.corner, Bezel, BezelEdge);
    const int x0 = area.left;
    const int y0 = area.top;
    const RECT glass = {x0 + layout.glass.left, y0 + layout.glass.top, x0 + layout.glass.right,
                        y0 + layout.glass.bottom};
    RoundedBox(dc, glass, layout.corner, Glass, Glass);

    SetBkMode(dc, TRANSPARENT);
    const DisplayColours colours = ColoursOf(view);
    PaintAnnunciators(dc, x0, y0, layout, fonts, view, colours);
    const int volumeLeft = PaintVolume(dc, x0, y0, layout, fonts, view, colours);

    const DotLine& large = layout.large;
    const int mainX = x0 + layout.mainLine.left;
    const int mainY = y0 + layout.mainLine.top;
    const int cells = (volumeLeft - mainX) / large.Advance() - 1;
    PaintDotCells(dc, mainX, mainY, large, cells, colours.ghost);
    PaintDotText(dc, mainX, mainY, large, view.main, colours.lit);

    PaintBar(dc, x0, y0, layout, view, colours);

    const DotLine& small = layout.small;
    const int subY = y0 + layout.subLine.top;
    PaintDotText(dc, x0 + layout.subLine.left, subY, small, view.sub, colours.lit);
    PaintDotText(dc, x0 + layout.subLine.right - DotTextWidth(small, view.subRight), subY, small,
                 view.subRight, colours.lit);
}

void PaintStrip(HDC dc, const RECT& area, const PanelFonts& fonts, const CommandStrip& strip,
                bool dimmed) {
    Fill(dc, area, Body);
    SetBkMode(dc, TRANSPARENT);
    Selected font(dc, fonts.strip);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int y = (area.top + area.bottom - metrics.tmHeight) / 2;
    const int gap = metrics.tmAveCharWidth * 2;
    Text(dc, area.left + 2, y, StripCaptionText, StripCaption);
    const int leftmost = area.left + 2 + TextWidth(dc, StripCaptionText) + gap;
    // The newest at the right end, older ones to its left as far as they fit, a dot between.
    const int dot = metrics.tmAveCharWidth / 3 > 1 ? metrics.tmAveCharWidth / 3 : 2;
    const int centreY = (area.top + area.bottom) / 2;
    int right = area.right - 2;
    for (std::size_t i = strip.count; i-- > 0;) {
        char text[StripWordSize + 16];
        StripItemText(strip.items[i], text, sizeof(text));
        const int width = TextWidth(dc, text);
        const bool newest = i + 1 == strip.count;
        if (right - (newest ? 0 : gap) - width < leftmost) {
            break;
        }
        if (!newest) {
            const int centreX = right - gap / 2;
            Fill(dc, centreX - dot / 2, centreY - dot / 2, centreX - dot / 2 + dot,
                 centreY - dot / 2 + dot, StripCaption);
            right -= gap;
        }
        Text(dc, right - width, y, text, newest && !dimmed ? StripNewest : StripOlder);
        right -= width;
    }
}

void PaintKey(HDC dc, const RECT& area, const PanelLayout& layout, const PanelFonts& fonts,
              const PanelKey& key, const KeyLook& look) {
    Fill(dc, area, Body);
    RoundedBox(dc, area, layout.corner, look.pressed ? KeyFacePressed : KeyFace, KeyOutline);
    if (!look.pressed) {
        // Light from above: a bright edge along the top.
        Fill(dc, area.left + layout.corner / 2, area.top + 1, area.right - layout.corner / 2,
             area.top + 1 + layout.bevel, KeyHighlight);
    }
    if (look.focused) {
        const int inset = ScaleToDpi(2, layout.dpi);
        const RECT ring = {area.left + inset, area.top + inset, area.right - inset,
                           area.bottom - inset};
        RoundedRing(dc, ring, layout.corner, FocusRing);
    }
    RECT label = area;
    if (look.pressed) {
        OffsetRect(&label, 0, layout.bevel);
    }
    SetBkMode(dc, TRANSPARENT);
    PaintKeyLabel(dc, label, layout, fonts, key, look);
}
