#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>

// The program's texts are CP932 (Shift-JIS). Windows is handed them as UTF-16, decoded from code
// page 932 whatever the system's own ANSI code page is: on a Windows whose code page is 1252 or
// 65001, an A function would show the same bytes as Latin letters or replacement characters.
inline constexpr UINT ProgramTextCodePage = 932;

// Each CP932 byte gives at most one UTF-16 unit, so a buffer of the text's size always holds it.
// Text that cannot be decoded (no code page 932 on the system) shows as nothing.
template <std::size_t N> void WidenProgramText(const char (&text)[N], wchar_t (&wide)[N]) {
    const int length = MultiByteToWideChar(ProgramTextCodePage, 0, text,
                                           static_cast<int>(strnlen(text, N - 1)), wide, N - 1);
    wide[length] = L'\0';
}
