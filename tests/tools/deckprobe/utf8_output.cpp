#include "tests/tools/deckprobe/utf8_output.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr int MaxTextChars = 1024;

} // namespace

bool WideToUtf8(const wchar_t* wide, char* out, std::size_t size) {
    if (size == 0) {
        return false;
    }
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, static_cast<int>(size), nullptr, nullptr);
    if (length == 0) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool PrintWideLine(const wchar_t* text) {
    char utf8[MaxTextChars * 3];
    if (!WideToUtf8(text, utf8, sizeof(utf8))) {
        return false;
    }
    std::fputs(utf8, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return true;
}
