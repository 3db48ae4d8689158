#include "tray/osd_content.h"
#include "tray/osd_placement.h"
#include "unit/command_code.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string TextOf(const OsdContent& content) {
    char text[OsdTextSize];
    OsdText(content, text);
    return text;
}

UnitStatus Status(bool on, bool muted, std::int32_t volume, std::int32_t source = SourceCd,
                  bool disc = true, std::int32_t track = 3) {
    UnitStatus status = {};
    status.powerOn = on;
    status.muted = muted;
    status.volume = volume;
    status.source = source;
    status.discPresent = disc;
    status.track = track;
    return status;
}

// What the display says for each command the program sends without a menu, told by the status
// read just before it (none for the drag and the power toggle, which read their own).
TEST(OnScreenDisplay, SaysWhatWasSentAndToggledTo) {
    const UnitStatus on = Status(true, false, 30);
    const UnitStatus onMuted = Status(true, true, 30);
    const UnitStatus off = Status(false, false, 30);
    const UnitStatus tuner = Status(true, false, 30, SourceTuner, true, 7);
    const UnitStatus noDisc = Status(true, false, 30, SourceCd, false, 1);
    struct Case {
        std::uint32_t sent;
        const UnitStatus* before;
        const char* text; // "" shows nothing
        std::int32_t bar;
        OsdTone tone;
    };
    const Case cases[] = {
        {NumberedCommand(SetVolume, 41), &on, "VOLUME 41", 41, OsdTone::Lit},
        {NumberedCommand(SetVolume, 0), nullptr, "VOLUME 0", 0, OsdTone::Lit},
        {NumberedCommand(SetVolume, 80), nullptr, "VOLUME 80", 80, OsdTone::Lit},
        {NumberedCommand(SetVolume, 81), nullptr, "", OsdNoBar, OsdTone::Lit},
        {NumberedCommand(SetVolume, 41), &off, "STANDBY", OsdNoBar, OsdTone::Standby},
        {MuteToggle, &on, "VOLUME MUTE", 30, OsdTone::Muted},
        {MuteToggle, &onMuted, "VOLUME 30", 30, OsdTone::Lit},
        {MuteToggle, nullptr, "", OsdNoBar, OsdTone::Lit}, // toggled from an unknown state
        {MuteToggle, &off, "STANDBY", OsdNoBar, OsdTone::Standby},
        {PowerOn, &off, "POWER ON", OsdNoBar, OsdTone::Lit},
        {PowerOn, nullptr, "POWER ON", OsdNoBar, OsdTone::Lit},
        {PowerOff, nullptr, "STANDBY", OsdNoBar, OsdTone::Standby},
        {CdPlayPause, &on, "CD PLAY TRACK 03", OsdNoBar, OsdTone::Lit},
        {CdStop, &on, "CD STOP TRACK 03", OsdNoBar, OsdTone::Lit},
        {CdPlayPause, &tuner, "CD PLAY", OsdNoBar, OsdTone::Lit}, // 7 is the tuner's preset
        {CdPlayPause, &noDisc, "CD PLAY", OsdNoBar, OsdTone::Lit},
        {CdNext, &on, "CD NEXT", OsdNoBar, OsdTone::Lit}, // where to, the unit has not said
        {CdPrev, nullptr, "CD PREV", OsdNoBar, OsdTone::Lit},
        {CdNext, &off, "STANDBY", OsdNoBar, OsdTone::Standby},
        {SelectCd, &on, "", OsdNoBar, OsdTone::Lit},
    };
    for (const Case& c : cases) {
        const OsdContent content = DescribeOsd(c.sent, c.before);
        EXPECT_EQ(TextOf(content), c.text) << std::hex << c.sent;
        if (c.text[0] != '\0') {
            EXPECT_EQ(content.barVolume, c.bar) << c.text;
            EXPECT_EQ(content.tone, c.tone) << c.text;
        } else {
            EXPECT_EQ(content.value[0], '\0') << std::hex << c.sent;
        }
    }
}

constexpr OsdRect Monitor = {0, 0, 1920, 1080};

// By the notification area at every taskbar edge and scale, clear of an auto-hidden taskbar
// however thin the shell says it is.
TEST(OnScreenDisplay, StandsByTheNotificationArea) {
    using E = TaskbarEdge;
    struct Case {
        const char* name;
        E edge;
        OsdRect taskbar;
        bool autoHide;
        OsdRect work;
        OsdRect monitor;
        std::uint32_t dpi;
        OsdRect expected;
    };
    const Case cases[] = {
        {"bottom",
         E::Bottom,
         {0, 1040, 1920, 1080},
         false,
         {0, 0, 1920, 1040},
         Monitor,
         96,
         {1668, 964, 1908, 1028}},
        {"top",
         E::Top,
         {0, 0, 1920, 40},
         false,
         {0, 40, 1920, 1080},
         Monitor,
         96,
         {1668, 52, 1908, 116}},
        {"left",
         E::Left,
         {0, 0, 62, 1080},
         false,
         {62, 0, 1920, 1080},
         Monitor,
         96,
         {74, 1004, 314, 1068}},
        {"right",
         E::Right,
         {1858, 0, 1920, 1080},
         false,
         {0, 0, 1858, 1080},
         Monitor,
         96,
         {1606, 1004, 1846, 1068}},
        {"bottom, 200 %",
         E::Bottom,
         {0, 1000, 1920, 1080},
         false,
         {0, 0, 1920, 1000},
         Monitor,
         192,
         {1416, 848, 1896, 976}},
        {"top, 150 %",
         E::Top,
         {0, 0, 1920, 60},
         false,
         {0, 60, 1920, 1080},
         Monitor,
         144,
         {1542, 78, 1902, 174}},
        {"left, 125 %",
         E::Left,
         {0, 0, 78, 1080},
         false,
         {78, 0, 1920, 1080},
         Monitor,
         120,
         {93, 985, 393, 1065}},
        {"bottom, auto-hidden",
         E::Bottom,
         {0, 1032, 1920, 1080},
         true,
         Monitor,
         Monitor,
         96,
         {1668, 956, 1908, 1020}},
        // The sliver an auto-hidden taskbar leaves: the display keeps clear of it slid out.
        {"bottom, auto-hidden sliver",
         E::Bottom,
         {0, 1078, 1920, 1080},
         true,
         Monitor,
         Monitor,
         96,
         {1668, 956, 1908, 1020}},
        {"right, auto-hidden sliver, 200 %",
         E::Right,
         {1918, 0, 1920, 1080},
         true,
         Monitor,
         Monitor,
         192,
         {1320, 928, 1800, 1056}},
        {"second monitor on the left",
         E::Bottom,
         {-1280, 984, 0, 1024},
         false,
         {-1280, 0, 0, 984},
         {-1280, 0, 0, 1024},
         96,
         {-252, 908, -12, 972}},
        {"no taskbar, DPI unknown",
         E::NoTaskbar,
         {},
         false,
         {0, 0, 800, 600},
         {0, 0, 800, 600},
         0,
         {548, 524, 788, 588}},
        {"a work area smaller than the display",
         E::Bottom,
         {0, 100, 200, 140},
         false,
         {0, 0, 200, 100},
         {0, 0, 200, 140},
         96,
         {0, 24, 240, 88}},
    };
    for (const Case& c : cases) {
        const TaskbarReading reading = {c.edge, c.taskbar, c.autoHide, c.monitor, c.work, c.dpi};
        EXPECT_EQ(PlaceOsd(reading), c.expected) << c.name;
    }
}

// At every common scale the widest words stay apart and everything stays behind the glass.
TEST(OnScreenDisplay, LayoutFitsAtEveryScale) {
    for (std::uint32_t dpi : {96u, 120u, 144u, 168u, 192u, 240u, 288u}) {
        const OsdLayout layout = LayoutOsd(dpi, true);
        EXPECT_EQ(layout.width, static_cast<std::int32_t>(240 * dpi / 96)) << dpi;
        const int caption = DotTextWidth(layout.small, "VOLUME");
        const int value = DotTextWidth(layout.large, "MUTE");
        EXPECT_LT(layout.textLeft + caption, layout.textRight - value) << dpi;
        EXPECT_LE(DotTextWidth(layout.large, "POWER ON"), layout.textRight - layout.textLeft);
        EXPECT_EQ(layout.textLeft + (OsdBarSegments - 1) * layout.segmentStride +
                      layout.segmentWidth,
                  layout.textRight)
            << dpi;
        EXPECT_GE(layout.textLeft, layout.glass.left) << dpi;
        EXPECT_LE(layout.barTop + layout.barHeight, layout.glass.bottom) << dpi;
        EXPECT_LE(layout.detailTop + layout.small.Height(), layout.glass.bottom) << dpi;
        const OsdLayout alone = LayoutOsd(dpi, false);
        EXPECT_NEAR(alone.valueTop * 2 + alone.large.Height(), alone.height, 1) << dpi;
    }
}

TEST(OnScreenDisplay, NotOverAFullScreenProgramOrAPresentation) {
    // QUNS_: 0 not asked, 1 not present, 2 busy, 3 Direct3D full screen, 4 presentation,
    // 5 accepts notifications, 6 quiet time, 7 a Store app.
    const bool allowed[] = {true, true, false, false, false, true, true, true};
    for (std::int32_t state = 0; state < 8; ++state) {
        EXPECT_EQ(OsdAllowedIn(state), allowed[state]) << state;
    }
}

} // namespace
