#pragma once

#include "tray/osd_content.h"
#include "tray/osd_placement.h"

#include <windows.h>

// Draws the display into a window's client area: the unit's own display, dark glass with
// dot-matrix characters and a volume bar, at the layout's scale. Through an off-screen bitmap
// where there is memory for one, so that a display updated in place never flickers.
void PaintOsd(HWND window, const OsdLayout& layout, const OsdContent& content);
