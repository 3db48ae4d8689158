#pragma once

// The program's texts are CP932; the tests compare them as UTF-8, so they are converted
// explicitly instead of relying on the console's code page.

#include <cstddef>

// Writes text (CP932) to stdout as UTF-8 followed by a line feed; false when it cannot be
// converted.
bool PrintCp932Line(const char* text);

// Converts into out (always terminated when size > 0); false when it does not fit.
bool Cp932ToUtf8(const char* text, char* out, std::size_t size);
