#pragma once

// What the fuzz targets share: reading an input front to back, and stopping the run on a broken
// promise so that libFuzzer keeps the input that broke it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Takes bytes from the front of the input; past its end it gives zeros, so that every input,
// however short, means something.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Left() const { return size_ - at_; }

    void Take(void* out, std::size_t count) {
        const std::size_t available = count < Left() ? count : Left();
        if (available > 0) {
            std::memcpy(out, data_ + at_, available);
        }
        std::memset(static_cast<std::uint8_t*>(out) + available, 0, count - available);
        at_ += available;
    }

    template <typename T> T Take() {
        T value;
        Take(&value, sizeof(value));
        return value;
    }

    // The next count bytes in place (fewer at the end of the input).
    const std::uint8_t* Span(std::size_t& count) {
        count = count < Left() ? count : Left();
        const std::uint8_t* span = data_ + at_;
        at_ += count;
        return span;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

inline bool IsTerminated(const char* text, std::size_t size) {
    return std::memchr(text, '\0', size) != nullptr;
}
