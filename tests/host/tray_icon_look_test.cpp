#include "res/resource_ids.h"
#include "tray/tray_icon_look.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Dword = 4, Text = 1, Qword = 11;

struct LookCase {
    const char* name;
    TaskbarFacts facts; // dpi, small icon at it, at the system DPI; theme read, type, bytes, value
    TrayIconLook look;
};

TEST(TrayIconLook, SizeFollowsTheTaskbarsDpiAndVariantItsTheme) {
    const LookCase cases[] = {
        {"100 %, no theme value: as ever", {96, 16, 16, false, 0, 0, 0}, {16, false}},
        {"125 %", {120, 20, 20, false, 0, 0, 0}, {20, false}},
        {"150 %", {144, 24, 24, false, 0, 0, 0}, {24, false}},
        {"200 %", {192, 32, 32, false, 0, 0, 0}, {32, false}},
        {"taskbar at 200 % beside a primary monitor at 100 %",
         {192, 32, 16, false, 0, 0, 0},
         {32, false}},
        {"before Windows 10 1607: the system's size", {0, 0, 20, false, 0, 0, 0}, {20, false}},
        {"no size at the DPI: the system's", {144, 0, 24, false, 0, 0, 0}, {24, false}},
        {"no size at all", {0, 0, 0, false, 0, 0, 0}, {16, false}},
        {"past what an icon holds", {0, 0, 300, false, 0, 0, 0}, {256, false}},
        {"dark taskbar", {96, 16, 16, true, Dword, 4, 0}, {16, true}},
        {"light taskbar", {96, 16, 16, true, Dword, 4, 1}, {16, false}},
        {"any value but 0 is light", {96, 16, 16, true, Dword, 4, 2}, {16, false}},
        {"0 as text is no DWORD", {96, 16, 16, true, Text, 4, 0}, {16, false}},
        {"0 as a QWORD is no DWORD", {96, 16, 16, true, Qword, 8, 0}, {16, false}},
    };
    for (const LookCase& c : cases) {
        const TrayIconLook look = ChooseTrayIconLook(c.facts);
        EXPECT_EQ(look.size, c.look.size) << c.name;
        EXPECT_EQ(look.dark, c.look.dark) << c.name;
    }
}

TEST(TrayIconLook, DarkLookLoadsTheDarkGroups) {
    EXPECT_EQ(TrayIconGroup(IDI_POWER_ON, {24, false}), IDI_POWER_ON);
    EXPECT_EQ(TrayIconGroup(IDI_POWER_ON, {24, true}), IDI_DARK_OFFSET + IDI_POWER_ON);
    EXPECT_EQ(TrayIconGroup(IDI_APP, {16, true}), IDI_DARK_OFFSET + IDI_APP);
}

} // namespace
