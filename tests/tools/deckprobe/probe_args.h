#pragma once

// Exit codes and argument parsing shared by the deckprobe subcommands.

#include <cstdint>

enum ProbeExit : int {
    ProbeOk = 0,
    ProbeNotFound = 1, // not found, timed out, or the check did not hold
    ProbeUsage = 2,
};

struct ProbeArgs {
    int count;
    char** values;
};

// Decimal, or hexadecimal with 0x; an optional leading '-' for decimal. The whole text must
// be the number.
bool ParseInteger(const char* text, std::int64_t& value);
bool ParseInt(const char* text, int& value);

// "--NAME MS" anywhere in args: removes the pair and stores the number. False only when the
// option is there with a missing or bad number.
bool TakeMillisecondsOption(ProbeArgs& args, const char* name, unsigned& ms);

// "--NAME N" for a count rather than a time: the same rules.
inline bool TakeCountOption(ProbeArgs& args, const char* name, unsigned& count) {
    return TakeMillisecondsOption(args, name, count);
}

// "--NAME" anywhere in args: removes it and says whether it was there.
bool TakeFlag(ProbeArgs& args, const char* name);

ProbeExit UsageError(const char* message);
