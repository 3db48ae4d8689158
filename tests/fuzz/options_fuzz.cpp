// The command line's arguments through option parsing, with the number of -i and -v read as atoi
// reads it, saturated where atoi would overflow.
//
// Input: the arguments, each ended by a NUL byte (the last one by the input's end).
#include "app/command_options.h"
#include "fuzz_support.h"

#include <climits>
#include <memory>
#include <vector>

namespace {

// strtol's reading of a decimal number is atoi's, and it saturates instead of overflowing.
std::int32_t ReferenceNumber(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

void CheckArgument(const char* argument) {
    FUZZ_CHECK(ReadOptionNumber(argument) == ReferenceNumber(argument));
    const OptionAction action = ParseOption(argument);
    if (argument[0] != '-') {
        FUZZ_CHECK(action.kind == OptionKind::NotAnOption);
    }
    const bool numbered =
        action.kind == OptionKind::SelectInput || action.kind == OptionKind::SetVolume;
    // Only -i and -v read a number, from the byte right after their letter.
    FUZZ_CHECK(action.number == (numbered ? ReferenceNumber(argument + 2) : 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each argument in a heap block of its own size, so that reading past its end is caught.
    std::vector<std::unique_ptr<char[]>> arguments;
    std::size_t start = 0;
    for (std::size_t end = 0; end <= size; ++end) {
        if (end == size || data[end] == '\0') {
            auto argument = std::make_unique<char[]>(end - start + 1);
            std::memcpy(argument.get(), data + start, end - start);
            arguments.push_back(std::move(argument));
            start = end + 1;
        }
    }
    for (const auto& argument : arguments) {
        CheckArgument(argument.get());
    }
    FUZZ_CHECK(ParseOption(nullptr).kind == OptionKind::NotAnOption);
    return 0;
}
