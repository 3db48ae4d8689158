#pragma once

// The tests compare the program's texts as UTF-8, converted from the UTF-16 that Windows holds
// (whatever the code page of the program or of this probe) instead of relying on the console's.

#include <cstddef>

// Writes text to stdout as UTF-8 followed by a line feed; false when it cannot be converted.
bool PrintWideLine(const wchar_t* text);

// Converts into out (always terminated when size > 0); false when it does not fit.
bool WideToUtf8(const wchar_t* text, char* out, std::size_t size);
