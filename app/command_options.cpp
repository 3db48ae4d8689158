#include "app/command_options.h"

#include <cstdint>

namespace {

bool IsBlank(char c) {
    // The C locale's white space, as atoi skips it.
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::int32_t ReadOptionNumber(const char* text) {
    while (IsBlank(*text)) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    constexpr std::int64_t Limit = std::int64_t{INT32_MAX} + 1;
    std::int64_t magnitude = 0;
    for (; IsDigit(*text); ++text) {
        if (magnitude < Limit) {
            magnitude = magnitude * 10 + (*text - '0');
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

OptionAction ParseOption(const char* argument) {
    if (argument == nullptr || argument[0] != '-') {
        return {OptionKind::NotAnOption, 0};
    }
    switch (argument[1]) {
    case 'P': return {OptionKind::PowerOff, 0};
    case 'S': return {OptionKind::StopResident, 0};
    case 'i': return {OptionKind::SelectInput, ReadOptionNumber(argument + 2)};
    case 'n': return {OptionKind::NoOnScreenDisplay, 0};
    case 'p': return {OptionKind::PowerOn, 0};
    case 'q': return {OptionKind::KeepPowerAtSessionEnd, 0};
    case 's': return {OptionKind::Stay, 0};
    case 't': return {OptionKind::NoTrayIcon, 0};
    case 'v': return {OptionKind::SetVolume, ReadOptionNumber(argument + 2)};
    default: return {OptionKind::NotAnOption, 0};
    }
}
