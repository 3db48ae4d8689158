// Bounded formatting with the Windows C runtime's formatter, which leaves text that fills the
// buffer unterminated: only the program's own terminator keeps the shell from reading on past
// the tooltip field. The host's formatter always terminates, so only here can this be seen.
#include "tray/bounded_text.h"
#include "tray/status_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr char Filler = '#';

TEST(BoundedTextUnderWindows, TooltipIsCutToItsFieldAndTerminated) {
    struct Case {
        std::size_t suffixLength;
        std::size_t tooltipLength;
    };
    // The display name takes 15 of the 63 characters the field holds.
    const Case cases[] = {{0, 15}, {47, 62}, {48, 63}, {49, 63}, {200, 63}};
    for (const Case& c : cases) {
        const std::string suffix(c.suffixLength, 'x');
        struct {
            char tooltip[TooltipSize];
            char after[8];
        } field;
        std::memset(&field, Filler, sizeof(field));
        FormatTooltip(suffix.c_str(), field.tooltip);
        ASSERT_EQ(strnlen(field.tooltip, sizeof(field.tooltip)), c.tooltipLength)
            << c.suffixLength << "-byte suffix: unterminated";
        EXPECT_EQ(field.tooltip, ("Norvik Deckhand" + suffix).substr(0, c.tooltipLength));
        EXPECT_EQ(std::string(field.after, sizeof(field.after)), std::string(8, Filler));
    }
}

TEST(BoundedTextUnderWindows, AppendingToAFullBufferCutsAndTerminates) {
    struct Case {
        const char* start;
        const char* appended;
        const char* expected;
    };
    const Case cases[] = {
        {"0123456789", "abcde", "0123456789abcde"},
        {"0123456789", "abcdefghij", "0123456789abcde"},
        {"0123456789abcde", "f", "0123456789abcde"},
    };
    for (const Case& c : cases) {
        char line[16];
        std::memset(line, Filler, sizeof(line));
        FormatText(line, "%s", c.start);
        AppendText(line, "%s", c.appended);
        ASSERT_LT(strnlen(line, sizeof(line)), sizeof(line)) << c.start << " + " << c.appended;
        EXPECT_STREQ(line, c.expected);
    }
}

} // namespace
