#pragma once

#include "tray/dot_matrix.h"

#include <windows.h>

// The unit's display as the program's on-screen display and the simulated unit's front panel
// draw it: lit dots on dark glass behind a bezel, the unlit cells glowing faintly.
namespace unit_display_colours {
constexpr COLORREF BezelEdge = RGB(78, 82, 90);
constexpr COLORREF Bezel = RGB(18, 19, 22);
constexpr COLORREF Glass = RGB(7, 13, 14);
constexpr COLORREF Lit = RGB(98, 238, 220);
constexpr COLORREF LitStandby = RGB(48, 122, 112); // the unit in standby
constexpr COLORREF Ghost = RGB(14, 29, 30);
constexpr COLORREF Amber = RGB(255, 162, 64); // mute
} // namespace unit_display_colours

// Draws text on a dot-matrix line with its top left dot at x, y, one filled square per lit dot.
void PaintDotText(HDC dc, int x, int y, const DotLine& line, const char* text, COLORREF colour);

// Every dot of cells characters, lit or not: the faint unlit cells that a display shows behind
// its characters.
void PaintDotCells(HDC dc, int x, int y, const DotLine& line, int cells, COLORREF colour);
