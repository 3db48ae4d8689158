#pragma once

#include "tray/dot_matrix.h"

#include <windows.h>

// Draws text on a dot-matrix line with its top left dot at x, y, one filled square per lit dot.
void PaintDotText(HDC dc, int x, int y, const DotLine& line, const char* text, COLORREF colour);

// Every dot of cells characters, lit or not: the faint unlit cells that a display shows behind
// its characters.
void PaintDotCells(HDC dc, int x, int y, const DotLine& line, int cells, COLORREF colour);
