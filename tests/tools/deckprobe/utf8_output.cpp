#include "tests/tools/deckprobe/utf8_output.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr UINT ShiftJisCodePage = 932;
constexpr int MaxTextChars = 1024;

} // namespace

bool Cp932ToUtf8(const char* text, char* out, std::size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    wchar_t wide[MaxTextChars];
    const int wideLength =
        MultiByteToWideChar(ShiftJisCodePage, MB_ERR_INVALID_CHARS, text, -1, wide, MaxTextChars);
    if (wideLength == 0) {
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

bool PrintCp932Line(const char* text) {
    char utf8[MaxTextChars * 3];
    if (!Cp932ToUtf8(text, utf8, sizeof(utf8))) {
        return false;
    }
    std::fputs(utf8, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return true;
}
