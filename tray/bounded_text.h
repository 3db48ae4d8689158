#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

// printf-style formatting that never writes past the buffer and always terminates it; text that
// does not fit is cut.
template <std::size_t N>
void FormatText(char (&buffer)[N], const char* format, ...) __attribute__((format(printf, 2, 3)));

template <std::size_t N>
void FormatText(char (&buffer)[N], const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, N, format, args);
    va_end(args);
    buffer[N - 1] = '\0';
}

template <std::size_t N>
void AppendText(char (&buffer)[N], const char* format, ...) __attribute__((format(printf, 2, 3)));

template <std::size_t N>
void AppendText(char (&buffer)[N], const char* format, ...) {
    const std::size_t used = strnlen(buffer, N - 1);
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(buffer + used, N - used, format, args);
    va_end(args);
    buffer[N - 1] = '\0';
}
