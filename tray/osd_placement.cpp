#include "tray/osd_placement.h"

#include "tray/dot_matrix.h"

#include <algorithm>

namespace {

constexpr std::uint32_t DefaultDpi = 96;
// Far beyond any monitor's scale; keeps the window's size well within 32 bits.
constexpr std::uint32_t MaxDpi = 100 * DefaultDpi;

// The design at 96 DPI.
constexpr int Width = 240;
constexpr int Height = 64;
constexpr int ScreenMargin = 12; // from the work area's edges
constexpr int GlassInset = 3;
constexpr int LargePitch = 3;
constexpr int SmallPitch = 2;
constexpr int ValueTop = 14;
constexpr int DetailGap = 6; // below the value
constexpr int BarGap = 10;
constexpr int BarHeight = 6;
constexpr int SegmentStride = 5;
constexpr int SegmentGap = 2;
// How far an auto-hidden taskbar slides out where the shell gives only the sliver it leaves:
// Windows 11's taskbar, the thicker of the two current ones.
constexpr int AutoHideBand = 48;

// The work area less the band the taskbar takes at its edge of the monitor. The work area
// already leaves out a taskbar that stays; an auto-hidden one slides out over it.
OsdRect ClearOfTaskbar(const TaskbarReading& reading, int dpi) {
    OsdRect area = reading.work;
    const OsdRect& bar = reading.taskbar;
    const OsdRect& monitor = reading.monitor;
    const bool vertical = reading.edge == TaskbarEdge::Left || reading.edge == TaskbarEdge::Right;
    const int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
    const int band = std::max(thickness, reading.autoHide ? ScaleToDpi(AutoHideBand, dpi) : 0);
    switch (reading.edge) {
    case TaskbarEdge::Left: area.left = std::max(area.left, monitor.left + band); break;
    case TaskbarEdge::Top: area.top = std::max(area.top, monitor.top + band); break;
    case TaskbarEdge::Right: area.right = std::min(area.right, monitor.right - band); break;
    case TaskbarEdge::Bottom: area.bottom = std::min(area.bottom, monitor.bottom - band); break;
    case TaskbarEdge::NoTaskbar: break;
    }
    return area;
}

} // namespace

std::uint32_t OsdDpi(std::uint32_t dpi) {
    return dpi != 0 ? std::min(dpi, MaxDpi) : DefaultDpi;
}

OsdRect PlaceOsd(const TaskbarReading& reading) {
    const int dpi = static_cast<int>(OsdDpi(reading.dpi));
    const int width = ScaleToDpi(Width, dpi);
    const int height = ScaleToDpi(Height, dpi);
    const int margin = ScaleToDpi(ScreenMargin, dpi);
    const OsdRect area = ClearOfTaskbar(reading, dpi);
    // The notification area ends a horizontal taskbar on the right, a vertical one at the bottom.
    int x = reading.edge == TaskbarEdge::Left ? area.left + margin : area.right - margin - width;
    int y = reading.edge == TaskbarEdge::Top ? area.top + margin : area.bottom - margin - height;
    // In an area too small for it, the display keeps its top left corner in sight.
    x = std::max(x, area.left);
    y = std::max(y, area.top);
    return {x, y, x + width, y + height};
}

bool OsdAllowedIn(std::int32_t notificationState) {
    // QUNS_BUSY (a full-screen program), QUNS_RUNNING_D3D_FULL_SCREEN, QUNS_PRESENTATION_MODE.
    return notificationState < 2 || notificationState > 4;
}

OsdLayout LayoutOsd(std::uint32_t knownDpi, bool lowerLine) {
    const int dpi = static_cast<int>(OsdDpi(knownDpi));
    OsdLayout layout = {};
    layout.width = ScaleToDpi(Width, dpi);
    layout.height = ScaleToDpi(Height, dpi);
    layout.edge = std::max(ScaleToDpi(1, dpi), 1);
    const int inset = ScaleToDpi(GlassInset, dpi);
    layout.glass = {inset, inset, layout.width - inset, layout.height - inset};
    layout.large = DotLineAt(LargePitch, dpi);
    layout.small = DotLineAt(SmallPitch, dpi);
    layout.valueTop =
        lowerLine ? ScaleToDpi(ValueTop, dpi) : (layout.height - layout.large.Height()) / 2;
    const int valueBottom = layout.valueTop + layout.large.Height();
    layout.captionTop = valueBottom - layout.small.Height();
    layout.detailTop = valueBottom + ScaleToDpi(DetailGap, dpi);
    layout.barTop = valueBottom + ScaleToDpi(BarGap, dpi);
    layout.barHeight = ScaleToDpi(BarHeight, dpi);
    layout.segmentStride = ScaleToDpi(SegmentStride, dpi);
    layout.segmentWidth = layout.segmentStride - std::max(ScaleToDpi(SegmentGap, dpi), 1);
    // The text stands over the bar, centred: whole segments of one width rarely fill the width.
    const int barWidth =
        OsdBarSegments * layout.segmentStride - (layout.segmentStride - layout.segmentWidth);
    layout.textLeft = (layout.width - barWidth) / 2;
    layout.textRight = layout.textLeft + barWidth;
    return layout;
}
