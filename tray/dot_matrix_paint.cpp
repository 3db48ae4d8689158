#include "tray/dot_matrix_paint.h"

namespace {

constexpr std::uint8_t EveryDot = 0x1F;

// The rows of one character: its glyph's, or every dot of the cell.
void PaintCell(HDC dc, int x, int y, const DotLine& line, char c, bool wholeCell) {
    const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (int row = 0; row < DotRows; ++row) {
        const std::uint8_t bits = wholeCell ? EveryDot : DotRow(c, row);
        for (int column = 0; column < DotColumns; ++column) {
            if (bits & (0x10 >> column)) {
                const RECT dot = {x + column * line.pitch, y + row * line.pitch,
                                  x + column * line.pitch + line.dot,
                                  y + row * line.pitch + line.dot};
                FillRect(dc, &dot, brush);
            }
        }
    }
}

} // namespace

void PaintDotText(HDC dc, int x, int y, const DotLine& line, const char* text, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    for (; *text != '\0'; ++text, x += line.Advance()) {
        PaintCell(dc, x, y, line, *text, false);
    }
}

void PaintDotCells(HDC dc, int x, int y, const DotLine& line, int cells, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    for (int cell = 0; cell < cells; ++cell, x += line.Advance()) {
        PaintCell(dc, x, y, line, ' ', true);
    }
}
