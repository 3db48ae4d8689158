#pragma once

// The display's dot-matrix characters: 5 by 7 dots, as a vacuum-fluorescent display draws
// them. Digits, upper-case letters, the few lower-case letters of unit names (kHz, MHz), some
// punctuation and the transport symbols below.

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
