#include "tray/status_text.h"
#include "tray/tray_icons.h"
#include "unit/unit_status.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

UnitStatus OnUnit() {
    UnitStatus status = {};
    status.powerOn = true;
    status.volume = 25;
    return status;
}

// A tray state with something in every field, to see what a refresh leaves alone.
TrayUnitState Remembered() {
    TrayUnitState state = {};
    std::snprintf(state.statusText, sizeof(state.statusText), "[earlier line]");
    state.currentSourceItem = MdItem;
    state.tunerPreset = 33;
    state.cdTrack = 44;
    state.cdTrackCount = 55;
    state.cdPlayState = 2;
    state.powerOn = true;
    state.muted = true;
    return state;
}

std::string Tooltip(const RefreshOutcome& outcome) {
    char tooltip[TooltipSize];
    FormatTooltip(outcome.tooltipSuffix, tooltip);
    return tooltip;
}

struct SourceCase {
    const char* name;
    void (*set)(UnitStatus&);
    const char* suffix;     // the tooltip suffix
    const char* statusText; // what the menu shows afterwards
    std::int32_t sourceItem;
};

const SourceCase SourceCases[] = {
    {"tuner FM",
     [](UnitStatus& s) {
         s.source = 0;
         s.preset = 7;
         s.frequency = 8750;
     },
     " Vol=25\n[TUNER 07: FM 87.50MHz]", "[TUNER 07: FM 87.50MHz]", TunerItem},
    {"tuner FM 76.00",
     [](UnitStatus& s) {
         s.source = 0;
         s.preset = 1;
         s.frequency = 7600;
     },
     " Vol=25\n[TUNER 01: FM 76.00MHz]", "[TUNER 01: FM 76.00MHz]", TunerItem},
    {"tuner FM 87.05",
     [](UnitStatus& s) {
         s.source = 0;
         s.preset = 40;
         s.frequency = 8705;
     },
     " Vol=25\n[TUNER 40: FM 87.05MHz]", "[TUNER 40: FM 87.05MHz]", TunerItem},
    {"tuner AM padded",
     [](UnitStatus& s) {
         s.source = 0;
         s.preset = 12;
         s.frequency = 594;
         s.isAm = 1;
     },
     " Vol=25\n[TUNER 12: AM  594kHz]", "[TUNER 12: AM  594kHz]", TunerItem},
    {"tuner AM, any nonzero band byte",
     [](UnitStatus& s) {
         s.source = 0;
         s.preset = 3;
         s.frequency = 1449;
         s.isAm = -1;
     },
     " Vol=25\n[TUNER 03: AM 1449kHz]", "[TUNER 03: AM 1449kHz]", TunerItem},
    {"CD no disc",
     [](UnitStatus& s) {
         s.source = 1;
         s.track = 4;
         s.trackCount = 9;
     },
     " Vol=25\n[CD No Disc]", "[CD No Disc]", CdItem},
    {"CD stopped",
     [](UnitStatus& s) {
         s.source = 1;
         s.discPresent = true;
         s.track = 1;
         s.trackCount = 12;
     },
     " Vol=25\n[CD-STOP: 01 00:00]", "[CD-STOP: 01 00:00]", CdItem},
    {"CD playing",
     [](UnitStatus& s) {
         s.source = 1;
         s.discPresent = true;
         s.track = 3;
         s.minutes = 2;
         s.seconds = 15;
         s.cdPlayState = 1;
         s.trackCount = 12;
     },
     " Vol=25\n[CD-PLAY: 03 02:15]", "[CD-PLAY: 03 02:15]", CdItem},
    {"CD paused",
     [](UnitStatus& s) {
         s.source = 1;
         s.discPresent = true;
         s.track = 11;
         s.minutes = 10;
         s.seconds = 5;
         s.cdPlayState = 2;
         s.trackCount = 12;
     },
     " Vol=25\n[CD-PAUSE: 11 10:05]", "[CD-PAUSE: 11 10:05]", CdItem},
    {"CD unknown play state",
     [](UnitStatus& s) {
         s.source = 1;
         s.discPresent = true;
         s.track = 2;
         s.cdPlayState = 5;
     },
     " Vol=25\n", "", CdItem},
    {"MD level 5",
     [](UnitStatus& s) {
         s.source = 2;
         s.inputLevel = 5;
     },
     " Vol=25\n[MD Input=+5]", "[MD Input=+5]", MdItem},
    {"MD level 0",
     [](UnitStatus& s) {
         s.source = 2;
         s.inputLevel = 0;
     },
     " Vol=25\n[MD Input= 0]", "[MD Input= 0]", MdItem},
    {"tape level -3",
     [](UnitStatus& s) {
         s.source = 3;
         s.inputLevel = -3;
     },
     " Vol=25\n[TAPE/AUX Input= -3]", "[TAPE/AUX Input= -3]", TapeAuxItem},
    {"PC USB", [](UnitStatus& s) { s.source = 4; }, " Vol=25\n [PC USB]", "", PcUsbItem},
    {"source out of range", [](UnitStatus& s) { s.source = 5; }, " Vol=25\n", "", MdItem},
    {"negative source", [](UnitStatus& s) { s.source = -1; }, " Vol=25\n", "", MdItem},
};

TEST(StatusRefresh, EverySourceGivesItsLineAndItem) {
    for (const SourceCase& c : SourceCases) {
        SCOPED_TRACE(c.name);
        UnitStatus status = OnUnit();
        c.set(status);
        TrayUnitState state = Remembered();
        const RefreshOutcome outcome = RefreshTrayUnitState(&status, state);
        EXPECT_EQ(outcome.iconIndex, 0);
        EXPECT_STREQ(outcome.tooltipSuffix, c.suffix);
        EXPECT_STREQ(state.statusText, c.statusText);
        EXPECT_EQ(state.currentSourceItem, c.sourceItem);
        EXPECT_TRUE(state.powerOn);
        EXPECT_FALSE(state.muted);
    }
}

TEST(StatusRefresh, SourceFieldsCopiedOnlyForTheirSource) {
    UnitStatus status = OnUnit();
    status.source = 0;
    status.preset = 9;
    status.track = 9;
    TrayUnitState state = Remembered();
    RefreshTrayUnitState(&status, state);
    EXPECT_EQ(state.tunerPreset, 9);
    EXPECT_EQ(state.cdTrack, 44);
    EXPECT_EQ(state.cdTrackCount, 55);
    EXPECT_EQ(state.cdPlayState, 2);

    status.source = 1; // no disc: the play state becomes -1, track and count are still copied
    status.track = 4;
    status.trackCount = 7;
    status.preset = 4;
    RefreshTrayUnitState(&status, state);
    EXPECT_EQ(state.tunerPreset, 9);
    EXPECT_EQ(state.cdTrack, 4);
    EXPECT_EQ(state.cdTrackCount, 7);
    EXPECT_EQ(state.cdPlayState, CdNoDisc);

    status.discPresent = true;
    status.cdPlayState = 5;
    RefreshTrayUnitState(&status, state);
    EXPECT_EQ(state.cdPlayState, 5);
}

TEST(StatusRefresh, PlayingCdTooltipHasTwoLines) {
    UnitStatus status = OnUnit();
    status.volume = 0;
    status.source = 1;
    status.discPresent = true;
    status.track = 3;
    status.minutes = 2;
    status.seconds = 15;
    status.cdPlayState = 1;
    TrayUnitState state = {};
    const RefreshOutcome outcome = RefreshTrayUnitState(&status, state);
    EXPECT_EQ(Tooltip(outcome), "Norvik Deckhand Vol=0\n[CD-PLAY: 03 02:15]");
    EXPECT_STREQ(state.statusText, "[CD-PLAY: 03 02:15]");
}

TEST(StatusRefresh, SoundModesAndMute) {
    struct Case {
        int soundMode;
        bool muted;
        const char* suffix;
    };
    const Case cases[] = {
        {0, false, " Vol=25\n[MD Input= 0]"},         {1, false, " Vol=25 (N.B.1)\n[MD Input= 0]"},
        {2, false, " Vol=25 (N.B.2)\n[MD Input= 0]"}, {3, false, " Vol=25 (TONE)\n[MD Input= 0]"},
        {4, false, " Vol=25[MD Input= 0]"}, // no line break for an unknown mode
        {15, false, " Vol=25[MD Input= 0]"},          {0, true, " <MUTE>\n[MD Input= 0]"},
        {3, true, " <MUTE> (TONE)\n[MD Input= 0]"},
    };
    for (const Case& c : cases) {
        UnitStatus status = OnUnit();
        status.source = 2;
        status.soundMode = c.soundMode;
        status.muted = c.muted;
        TrayUnitState state = {};
        EXPECT_STREQ(RefreshTrayUnitState(&status, state).tooltipSuffix, c.suffix);
        EXPECT_EQ(state.muted, c.muted);
    }
}

TEST(StatusRefresh, UnitOffClearsPowerAndMuteOnly) {
    UnitStatus status = {};
    status.powerOn = false;
    status.source = 1;
    status.track = 9;
    TrayUnitState state = Remembered();
    const RefreshOutcome outcome = RefreshTrayUnitState(&status, state);
    EXPECT_EQ(IconResourceOfIndex(outcome.iconIndex), PowerOffIcon);
    EXPECT_STREQ(outcome.tooltipSuffix, " <OFF>");
    TrayUnitState expected = Remembered();
    expected.powerOn = false;
    expected.muted = false;
    EXPECT_EQ(std::memcmp(&state, &expected, sizeof(state)), 0);
}

TEST(StatusRefresh, UnreadableChangesNothing) {
    TrayUnitState state = Remembered();
    const RefreshOutcome outcome = RefreshTrayUnitState(nullptr, state);
    EXPECT_EQ(IconResourceOfIndex(outcome.iconIndex), UnreachableIcon);
    EXPECT_STREQ(outcome.tooltipSuffix, " ドライバにアクセスできません");
    const TrayUnitState expected = Remembered();
    EXPECT_EQ(std::memcmp(&state, &expected, sizeof(state)), 0);
}

// Whatever the 32 bytes hold, the tooltip fits its field and every text is terminated.
TEST(StatusRefresh, TooltipFitsForAnyStatusBlock) {
    std::mt19937 random(20261207);
    std::size_t longest = 0;
    auto check = [&](const std::uint8_t(&block)[StatusBlockSize]) {
        const UnitStatus status = DecodeStatusBlock(block);
        TrayUnitState state = Remembered();
        const RefreshOutcome outcome = RefreshTrayUnitState(&status, state);
        const std::size_t suffix = strnlen(outcome.tooltipSuffix, sizeof(outcome.tooltipSuffix));
        ASSERT_LT(suffix, sizeof(outcome.tooltipSuffix));
        ASSERT_LT(strnlen(state.statusText, sizeof(state.statusText)), sizeof(state.statusText));
        ASSERT_LE(15 + suffix, TooltipSize - 1) << outcome.tooltipSuffix;
        longest = std::max(longest, suffix);
    };
    std::uint8_t block[StatusBlockSize] = {};
    // Every value of every byte that is read, one at a time, on an otherwise widest block.
    const std::uint8_t widest[StatusBlockSize] = {0, 0,    0,    0,    0xFF, 0x11, '-', 0x80,
                                                  0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,   2};
    for (std::size_t byte : {3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15}) {
        for (int value = 0; value < 256; ++value) {
            std::memcpy(block, widest, sizeof(block));
            block[byte] = static_cast<std::uint8_t>(value);
            check(block);
        }
    }
    for (int round = 0; round < 200000; ++round) {
        for (auto& b : block) {
            b = static_cast<std::uint8_t>(random());
        }
        // Keep the source mostly in range so that every line format is exercised.
        block[3] = static_cast<std::uint8_t>(random() % 6);
        check(block);
    }
    EXPECT_LE(longest, 48u);
}

} // namespace
