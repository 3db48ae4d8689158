#include "tray/osd_content.h"
#include "tray/osd_placement.h"
#include "unit/command_code.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TextOf(const OsdContent& content) {
    char text[OsdTextSize];
    OsdText(content, text);
    return text;
}

UnitStatus Status(bool on, bool muted, std::int32_t source = SourceCd, bool disc = true) {
    UnitStatus status = {};
    status.powerOn = on, status.muted = muted, status.source = source, status.discPresent = disc;
    status.volume = 30, status.track = 3;
    return status;
}

// What the display says for each command sent without a menu, told by the status read just
// before it (none for the drag and the power toggle, which read their own).
TEST(OnScreenDisplay, SaysWhatWasSentAndToggledTo) {
    const UnitStatus on = Status(true, false), muted = Status(true, true);
    const UnitStatus off = Status(false, false), tuner = Status(true, false, SourceTuner);
    const UnitStatus noDisc = Status(true, false, SourceCd, false);
    using T = OsdTone;
    struct Case {
        std::uint32_t sent;
        const UnitStatus* before;
        const char* text; // "" shows nothing
        std::int32_t bar;
        OsdTone tone;
    };
    const Case cases[] = {
        {SetVolume + 41, &on, "VOLUME 41", 41, T::Lit},
        {SetVolume + 80, nullptr, "VOLUME 80", 80, T::Lit},
        {SetVolume + 81, nullptr, "", OsdNoBar, T::Lit},
        {SetVolume + 41, &off, "STANDBY", OsdNoBar, T::Standby}, // an off unit ignores it
        {PowerOn, nullptr, "POWER ON", OsdNoBar, T::Lit},
        {PowerOff, nullptr, "STANDBY", OsdNoBar, T::Standby},
        {CdPlayPause, &on, "CD PLAY TRACK 03", OsdNoBar, T::Lit},
        {CdStop, &on, "CD STOP TRACK 03", OsdNoBar, T::Lit},
        {CdPlayPause, &tuner, "CD PLAY", OsdNoBar, T::Lit}, // the byte is the tuner's preset
        {CdPlayPause, &noDisc, "CD PLAY", OsdNoBar, T::Lit},
        {CdNext, &on, "CD NEXT", OsdNoBar, T::Lit}, // to which track, the unit has not said
        {CdNext, &off, "STANDBY", OsdNoBar, T::Standby},
        {SelectCd, &on, "", OsdNoBar, T::Lit},
    };
    // A mute toggle is told by the status read right after it.
    const Case mutes[] = {
        {MuteToggle, &muted, "VOLUME MUTE", 30, T::Muted},
        {MuteToggle, &on, "VOLUME 30", 30, T::Lit},
        {MuteToggle, &off, "STANDBY", OsdNoBar, T::Standby},
        {MuteToggle, nullptr, "", OsdNoBar, T::Lit}, // DescribeOsd has no words for it
    };
    for (const Case& c : mutes) {
        const OsdContent content =
            c.before ? DescribeMute(*c.before) : DescribeOsd(c.sent, c.before);
        EXPECT_EQ(TextOf(content), c.text);
        if (c.text[0] != '\0') {
            EXPECT_EQ(content.barVolume, c.bar) << c.text;
            EXPECT_EQ(content.tone, c.tone) << c.text;
        }
    }
    for (const Case& c : cases) {
        const OsdContent content = DescribeOsd(c.sent, c.before);
        EXPECT_EQ(TextOf(content), c.text) << std::hex << c.sent;
        EXPECT_EQ(content.value[0] == '\0', c.text[0] == '\0') << c.text;
        if (c.text[0] != '\0') {
            EXPECT_EQ(content.barVolume, c.bar) << c.text;
            EXPECT_EQ(content.tone, c.tone) << c.text;
        }
    }
}

// A 1920 by 1080 monitor with a taskbar of that thickness at that edge, which the work area
// leaves out unless it hides itself.
TaskbarReading Monitor(TaskbarEdge edge, std::int32_t thickness, bool autoHide, std::uint32_t dpi) {
    const OsdRect screen = {0, 0, 1920, 1080};
    OsdRect bar = screen;
    OsdRect work = screen;
    const std::int32_t kept = autoHide ? 0 : thickness;
    switch (edge) {
    case TaskbarEdge::Left: bar.right = thickness, work.left = kept; break;
    case TaskbarEdge::Top: bar.bottom = thickness, work.top = kept; break;
    case TaskbarEdge::Right: bar.left = 1920 - thickness, work.right = 1920 - kept; break;
    case TaskbarEdge::Bottom: bar.top = 1080 - thickness, work.bottom = 1080 - kept; break;
    case TaskbarEdge::NoTaskbar: bar = {}; break;
    }
    return {edge, bar, autoHide, screen, work, dpi};
}

// By the notification area at every taskbar edge and scale, clear of an auto-hidden taskbar
// however thin the shell says it is.
TEST(OnScreenDisplay, StandsByTheNotificationArea) {
    using E = TaskbarEdge;
    struct Case {
        E edge;
        std::int32_t thickness;
        bool autoHide;
        std::uint32_t dpi;
        std::int32_t left, top;
    };
    const Case cases[] = {
        {E::Bottom, 40, false, 96, 1668, 964},   {E::Top, 40, false, 96, 1668, 52},
        {E::Left, 62, false, 96, 74, 1004},      {E::Right, 62, false, 96, 1606, 1004},
        {E::Bottom, 80, false, 192, 1416, 848},  {E::Top, 60, false, 144, 1542, 78},
        {E::Left, 78, false, 120, 93, 985},      {E::Bottom, 48, true, 96, 1668, 956},
        {E::Bottom, 2, true, 96, 1668, 956},     {E::Right, 2, true, 192, 1320, 928},
        {E::NoTaskbar, 0, false, 0, 1668, 1004}, // DPI unknown: as 96
    };
    for (const Case& c : cases) {
        const std::int32_t dpi = c.dpi != 0 ? static_cast<std::int32_t>(c.dpi) : 96;
        EXPECT_EQ(PlaceOsd(Monitor(c.edge, c.thickness, c.autoHide, c.dpi)),
                  (OsdRect{c.left, c.top, c.left + 240 * dpi / 96, c.top + 64 * dpi / 96}))
            << static_cast<int>(c.edge) << ", " << c.thickness << " px, " << c.dpi << " DPI";
    }
    // A work area smaller than the display keeps its top left corner in sight.
    EXPECT_EQ(
        PlaceOsd({E::Bottom, {0, 100, 200, 140}, false, {0, 0, 200, 140}, {0, 0, 200, 100}, 96}),
        (OsdRect{0, 24, 240, 88}));
}

// At every common scale the widest words stay apart, and everything stays behind the glass.
TEST(OnScreenDisplay, LayoutFitsAtEveryScale) {
    for (std::uint32_t dpi : {96u, 120u, 144u, 168u, 192u, 240u, 288u}) {
        const OsdLayout layout = LayoutOsd(dpi, true);
        EXPECT_LT(layout.textLeft + DotTextWidth(layout.small, "VOLUME"),
                  layout.textRight - DotTextWidth(layout.large, "MUTE"))
            << dpi;
        EXPECT_LE(DotTextWidth(layout.large, "POWER ON"), layout.textRight - layout.textLeft);
        EXPECT_EQ(layout.textLeft + (OsdBarSegments - 1) * layout.segmentStride +
                      layout.segmentWidth,
                  layout.textRight)
            << dpi;
        EXPECT_LE(layout.barTop + layout.barHeight, layout.glass.bottom) << dpi;
        EXPECT_LE(layout.detailTop + layout.small.Height(), layout.glass.bottom) << dpi;
        const OsdLayout alone = LayoutOsd(dpi, false);
        EXPECT_NEAR(alone.valueTop * 2 + alone.large.Height(), alone.height, 1) << dpi;
    }
}

} // namespace
