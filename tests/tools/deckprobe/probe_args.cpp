#include "tests/tools/deckprobe/probe_args.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool ParseInteger(const char* text, std::int64_t& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (hex && text[2] == '\0') {
        return false;
    }
    char* end = nullptr;
    const long long parsed = std::strtoll(hex ? text + 2 : text, &end, hex ? 16 : 10);
    if (*end != '\0' || (hex && text[2] == '-')) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseInt(const char* text, int& value) {
    std::int64_t wide = 0;
    if (!ParseInteger(text, wide) || wide < -2147483648LL || wide > 2147483647LL) {
        return false;
    }
    value = static_cast<int>(wide);
    return true;
}

bool TakeMillisecondsOption(ProbeArgs& args, const char* name, unsigned& ms) {
    for (int i = 0; i < args.count; ++i) {
        if (std::strcmp(args.values[i], name) != 0) {
            continue;
        }
        int value = 0;
        if (i + 1 >= args.count || !ParseInt(args.values[i + 1], value) || value < 0) {
            return false;
        }
        ms = static_cast<unsigned>(value);
        for (int j = i; j + 2 < args.count; ++j) {
            args.values[j] = args.values[j + 2];
        }
        args.count -= 2;
        return true;
    }
    return true;
}

bool TakeFlag(ProbeArgs& args, const char* name) {
    for (int i = 0; i < args.count; ++i) {
        if (std::strcmp(args.values[i], name) == 0) {
            for (int j = i; j + 1 < args.count; ++j) {
                args.values[j] = args.values[j + 1];
            }
            args.count -= 1;
            return true;
        }
    }
    return false;
}

ProbeExit UsageError(const char* message) {
    std::fprintf(stderr, "deckprobe: %s (deckprobe help lists the subcommands)\n", message);
    return ProbeUsage;
}
