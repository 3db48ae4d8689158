#pragma once

// Dot-matrix characters of 5 by 7 dots, as the unit's vacuum-fluorescent display draws them:
// digits, upper-case letters, the few lower-case letters of unit names (kHz, MHz), some
// punctuation and the transport symbols below. The on-screen display draws with them, and so
// does the simulated unit's front panel.

#include <cstdint>

constexpr int DotColumns = 5;
constexpr int DotRows = 7;

// Symbols, written into display lines as these control characters.
constexpr char DotPlay = '\x01';
constexpr char DotPause = '\x02';
constexpr char DotStop = '\x03';
constexpr char DotReverse = '\x04';

// Row r of the character, bit 4 the leftmost dot; a character without a glyph is blank.
std::uint8_t DotRow(char c, int row);

// A length of a 96-DPI design at dpi, rounded to the nearest pixel (halves away from zero, as
// MulDiv does), so that every edge falls on a whole pixel. For lengths of a window's size at a
// DPI of at most 9600.
int ScaleToDpi(int designPixels, int dpi);

// One line of characters at one size.
struct DotLine {
    int pitch;                                // from one dot to the next
    int dot;                                  // a dot's side
    int Advance() const { return pitch * 6; } // five dots and a blank column
    int Height() const { return pitch * 6 + dot; }
};

// A line whose dots stand designPitch pixels apart at 96 DPI, at dpi: dots a third of the pitch
// apart; at two pixels apart and less they touch, since a one-pixel dot is too faint to read.
DotLine DotLineAt(int designPitch, int dpi);

// Width in pixels of text on line: its advance, less the blank column after the last character.
int DotTextWidth(const DotLine& line, const char* text);
