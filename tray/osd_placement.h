#pragma once

#include "tray/dot_matrix.h"

#include <cstdint>

// Where the on-screen display stands and how large it is, from what the shell says of its
// taskbar, and whether it may show at all: plain decisions, without the Win32 around them.

struct OsdRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;

    friend bool operator==(const OsdRect&, const OsdRect&) = default;
};

// The screen edge the taskbar stands at, numbered as the shell's ABE_ values; NoTaskbar where
// the shell has none to tell of.
enum class TaskbarEdge : std::int32_t { Left = 0, Top = 1, Right = 2, Bottom = 3, NoTaskbar = -1 };

struct TaskbarReading {
    TaskbarEdge edge;
    OsdRect taskbar; // as the shell gives it; an auto-hidden one may be a sliver at the edge
    bool autoHide;
    OsdRect monitor;   // the monitor that holds the taskbar (the primary one without a taskbar)
    OsdRect work;      // that monitor's work area
    std::uint32_t dpi; // that monitor's; 0 when Windows did not say
};

// The display's window: about 240 by 64 pixels at 96 DPI and as much larger as the monitor is
// scaled, in the corner of the work area by the notification area (the right end of a
// horizontal taskbar, the bottom end of a vertical one), clear of the taskbar even while an
// auto-hidden one slides out. Without a taskbar, the work area's bottom right corner.
OsdRect PlaceOsd(const TaskbarReading& reading);

// The DPI that a reading's figures stand for: 96 where Windows did not say.
std::uint32_t OsdDpi(std::uint32_t dpi);

// Whether the display may show while the shell is in this state (SHQueryUserNotificationState's
// QUNS_ value, 0 when it cannot be asked): not over a full-screen program, a Direct3D game or a
// presentation.
bool OsdAllowedIn(std::int32_t notificationState);

// The parts of the display within its window at a DPI, in client pixels: every edge on a whole
// pixel, and the bar's segments all of one width.
struct OsdLayout {
    std::int32_t width;
    std::int32_t height;
    std::int32_t edge;      // the bezel's light edge round the window
    OsdRect glass;          // the dark glass inside the bezel
    std::int32_t textLeft;  // the caption's and the bar's left edge
    std::int32_t textRight; // the value's, the detail's and the bar's right edge
    DotLine large;          // the value's characters
    DotLine small;          // the caption's and the detail's
    std::int32_t valueTop;
    std::int32_t captionTop;
    std::int32_t detailTop;
    std::int32_t barTop;
    std::int32_t barHeight;
    std::int32_t segmentStride; // from one bar segment to the next
    std::int32_t segmentWidth;
};

// A display without a bar or detail line (lowerLine false) has its value in the middle.
OsdLayout LayoutOsd(std::uint32_t dpi, bool lowerLine);

// Two volume steps to a segment: 80 lights all of them.
constexpr std::int32_t OsdBarSegments = 40;
