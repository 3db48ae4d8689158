#include "app/command_options.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct OptionCase {
    const char* argument;
    OptionKind kind;
    std::int32_t number;
};

TEST(CommandOptions, OnlyTheByteAfterTheDashCountsAndCaseMatters) {
    const OptionCase cases[] = {
        {"-p", OptionKind::PowerOn, 0},
        {"-P", OptionKind::PowerOff, 0},
        {"-s", OptionKind::Stay, 0},
        {"-S", OptionKind::StopResident, 0},
        {"-q", OptionKind::KeepPowerAtSessionEnd, 0},
        {"-t", OptionKind::NoTrayIcon, 0},
        {"-n", OptionKind::NoOnScreenDisplay, 0},
        {"-N", OptionKind::NotAnOption, 0},
        {"-power", OptionKind::PowerOn, 0},
        {"-stay", OptionKind::Stay, 0},
        {"-S1", OptionKind::StopResident, 0},
        {"-P0", OptionKind::PowerOff, 0},
        {"-I3", OptionKind::NotAnOption, 0},
        {"-V20", OptionKind::NotAnOption, 0},
        {"-Q", OptionKind::NotAnOption, 0},
        {"-T", OptionKind::NotAnOption, 0},
        {"--p", OptionKind::NotAnOption, 0},
        {"/p", OptionKind::NotAnOption, 0},
        {"-", OptionKind::NotAnOption, 0},
        {"", OptionKind::NotAnOption, 0},
        {"p", OptionKind::NotAnOption, 0},
        {"40", OptionKind::NotAnOption, 0},
        {" -p", OptionKind::NotAnOption, 0},
        {"-\x82\xA0", OptionKind::NotAnOption, 0}, // a double-byte character after the dash
    };
    for (const OptionCase& c : cases) {
        const OptionAction action = ParseOption(c.argument);
        EXPECT_EQ(action.kind, c.kind) << '"' << c.argument << '"';
    }
    EXPECT_EQ(ParseOption(nullptr).kind, OptionKind::NotAnOption);
}

TEST(CommandOptions, NumbersOfIAndVReadLikeAtoi) {
    const OptionCase cases[] = {
        {"-v40", OptionKind::SetVolume, 40},
        {"-v0", OptionKind::SetVolume, 0},
        {"-v80", OptionKind::SetVolume, 80},
        {"-v81", OptionKind::SetVolume, 81},
        {"-v-1", OptionKind::SetVolume, -1},
        {"-v", OptionKind::SetVolume, 0}, // no digits: 0
        {"-vx", OptionKind::SetVolume, 0},
        {"-v 20", OptionKind::SetVolume, 20}, // leading white space is skipped
        {"-v\t 7", OptionKind::SetVolume, 7},
        {"-v+15", OptionKind::SetVolume, 15},
        {"-v+-5", OptionKind::SetVolume, 0}, // one sign only
        {"-v12abc", OptionKind::SetVolume, 12},
        {"-v007", OptionKind::SetVolume, 7},
        {"-v2147483647", OptionKind::SetVolume, INT_MAX},
        {"-v2147483648", OptionKind::SetVolume, INT_MAX}, // saturates
        {"-v99999999999999999999", OptionKind::SetVolume, INT_MAX},
        {"-v-2147483648", OptionKind::SetVolume, INT_MIN},
        {"-v-99999999999999999999", OptionKind::SetVolume, INT_MIN},
        {"-i3", OptionKind::SelectInput, 3},
        {"-i", OptionKind::SelectInput, 0},
        {"-i 5", OptionKind::SelectInput, 5},
        {"-i4294967299", OptionKind::SelectInput, INT_MAX}, // must not wrap round to 3
        {"-input2", OptionKind::SelectInput, 0},
    };
    for (const OptionCase& c : cases) {
        const OptionAction action = ParseOption(c.argument);
        EXPECT_EQ(action.kind, c.kind) << c.argument;
        EXPECT_EQ(action.number, c.number) << c.argument;
    }
}

} // namespace
