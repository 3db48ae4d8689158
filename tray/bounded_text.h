#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

// printf-style formatting that never writes past the buffer and always terminates it; text that
// does not fit is cut.

namespace bounded_text_detail {

inline void FormatInto(char* buffer, std::size_t size, const char* format, std::va_list args) {
#ifdef _WIN32
    // The C runtime's own formatter: the C99 vsnprintf of mingw brings a whole printf
    // implementation (floating point included) into the program. It does not terminate text
    // that fills the buffer; the callers below do.
    _vsnprintf(buffer, size, format, args);
#else
    std::vsnprintf(buffer, size, format, args);
#endif
}

} // namespace bounded_text_detail
template <std::size_t N>
void FormatText(char (&buffer)[N], const char* format, ...) __attribute__((format(printf, 2, 3)));

template <std::size_t N> void FormatText(char (&buffer)[N], const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    bounded_text_detail::FormatInto(buffer, N, format, args);
    va_end(args);
    buffer[N - 1] = '\0';
}

template <std::size_t N>
void AppendText(char (&buffer)[N], const char* format, ...) __attribute__((format(printf, 2, 3)));

template <std::size_t N> void AppendText(char (&buffer)[N], const char* format, ...) {
    const std::size_t used = strnlen(buffer, N - 1);
    std::va_list args;
    va_start(args, format);
    bounded_text_detail::FormatInto(buffer + used, N - used, format, args);
    va_end(args);
    buffer[N - 1] = '\0';
}

// Copies text into buffer, cut to fit and terminated. Also in constant expressions.
template <std::size_t N> constexpr void CopyText(char (&buffer)[N], const char* text) {
    std::size_t length = 0;
    for (; length + 1 < N && text[length] != '\0'; ++length) {
        buffer[length] = text[length];
    }
    buffer[length] = '\0';
}
