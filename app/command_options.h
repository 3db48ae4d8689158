#pragma once

#include <cstdint>

enum class OptionKind {
    NotAnOption,           // skipped without a word
    PowerOff,              // -P
    StopResident,          // -S
    SelectInput,           // -i<n>
    PowerOn,               // -p
    KeepPowerAtSessionEnd, // -q
    NoOnScreenDisplay,     // -n
    Stay,                  // -s
    NoTrayIcon,            // -t
    SetVolume,             // -v<n>
};

struct OptionAction {
    OptionKind kind;
    std::int32_t number; // -i and -v only
};

// An option is "-" and one letter, compared exactly; bytes after the letter are ignored except
// for the number of -i and -v.
OptionAction ParseOption(const char* argument);

// Reads a number the way atoi does (leading white space, one sign, digits up to the first
// non-digit; no digits gives 0), but saturates instead of overflowing.
std::int32_t ReadOptionNumber(const char* text);
