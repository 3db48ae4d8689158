// StatusRefresh against the simulated unit: what the tray state and the icon become for each
// source, an off unit and an unreachable one.
#include "support/fake_tray_icon.h"
#include "support/sim_fixture.h"
#include "tray/status_refresh.h"
#include "tray/tray_icons.h"
#include "tray/tray_state.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class StatusRefreshTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        std::memset(static_cast<TrayUnitState*>(&trayState), 0, sizeof(TrayUnitState));
        TrayIconCalls().clear();
    }
};

TEST_F(StatusRefreshTest, EachSourceOfTheUnit) {
    struct Case {
        const char* name;
        void (*set)(SimUnitState&);
        const char* suffix;
        const char* statusText;
        std::int32_t sourceItem;
    };
    const Case cases[] = {
        {"tuner FM",
         [](SimUnitState& s) {
             s.source = 0;
             s.preset = 7;
             s.band = SimBandFm;
             s.frequency = 8750;
             s.presets[6] = {SimBandFm, 8750};
         },
         " Vol=20\n[TUNER 07: FM 87.50MHz]", "[TUNER 07: FM 87.50MHz]", TunerItem},
        {"tuner AM",
         [](SimUnitState& s) {
             s.source = 0;
             s.preset = 21;
             s.band = SimBandAm;
             s.frequency = 594;
             s.presets[20] = {SimBandAm, 594};
         },
         " Vol=20\n[TUNER 21: AM  594kHz]", "[TUNER 21: AM  594kHz]", TunerItem},
        {"CD playing",
         [](SimUnitState& s) {
             s.source = 1;
             s.discPresent = 1;
             s.trackCount = 12;
             s.track = 3;
             s.cdState = SimCdPlaying;
             s.elapsedMs = 135000;
         },
         " Vol=20\n[CD-PLAY: 03 02:15]", "[CD-PLAY: 03 02:15]", CdItem},
        {"CD no disc",
         [](SimUnitState& s) {
             s.source = 1;
             s.discPresent = 0;
             s.trackCount = 0;
             s.track = 0;
         },
         " Vol=20\n[CD No Disc]", "[CD No Disc]", CdItem},
        {"MD",
         [](SimUnitState& s) {
             s.source = 2;
             s.inputLevel = -3;
             s.soundMode = 1;
         },
         " Vol=20 (N.B.1)\n[MD Input= -3]", "[MD Input= -3]", MdItem},
        {"tape/aux",
         [](SimUnitState& s) {
             s.source = 3;
             s.inputLevel = 4;
             s.soundMode = 3;
         },
         " Vol=20 (TONE)\n[TAPE/AUX Input=+4]", "[TAPE/AUX Input=+4]", TapeAuxItem},
        {"PC USB muted",
         [](SimUnitState& s) {
             s.source = 4;
             s.muted = 1;
         },
         " <MUTE>\n [PC USB]", "", PcUsbItem},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Change([&](SimUnitState& s) {
            s.powerOn = 1;
            s.volume = 20;
            s.muted = 0;
            s.soundMode = 0;
            c.set(s);
        });
        TrayIconCalls().clear();
        StatusRefresh();
        EXPECT_EQ(LastIconResource(), PowerOnIcon);
        EXPECT_EQ(LastTooltipSuffix(), c.suffix);
        EXPECT_STREQ(trayState.statusText, c.statusText);
        EXPECT_EQ(trayState.currentSourceItem, c.sourceItem);
        EXPECT_TRUE(trayState.powerOn);
    }
    EXPECT_EQ(trayState.tunerPreset, 21);
    EXPECT_EQ(trayState.cdTrack, 0);
    EXPECT_EQ(trayState.cdPlayState, CdNoDisc);
    EXPECT_TRUE(trayState.muted);
    // One open, one read and one close per refresh.
    const std::vector<SimLogEntry> log = TakeLog();
    EXPECT_EQ(CountKind(log, SimLogOpen), 7u);
    EXPECT_EQ(CountKind(log, SimLogRead), 7u);
    EXPECT_TRUE(Commands(log).empty());
}

TEST_F(StatusRefreshTest, OffAndUnreachableKeepTheLastSourceState) {
    Change([](SimUnitState& s) {
        s.powerOn = 1;
        s.source = 1;
        s.discPresent = 1;
        s.trackCount = 9;
        s.track = 4;
        s.cdState = SimCdPaused;
        s.muted = 1;
    });
    StatusRefresh();
    ASSERT_STREQ(trayState.statusText, "[CD-PAUSE: 04 00:00]");
    const TrayUnitState remembered = trayState;

    Change([](SimUnitState& s) {
        s.powerOn = 0;
        s.muted = 0;
        s.source = 0;
    });
    StatusRefresh();
    EXPECT_EQ(LastIconResource(), PowerOffIcon);
    EXPECT_EQ(LastTooltipSuffix(), " <OFF>");
    EXPECT_FALSE(trayState.powerOn);
    EXPECT_FALSE(trayState.muted);
    EXPECT_STREQ(trayState.statusText, remembered.statusText);
    EXPECT_EQ(trayState.currentSourceItem, CdItem);
    EXPECT_EQ(trayState.cdTrack, 4);
    EXPECT_EQ(trayState.cdPlayState, 2);

    Change([](SimUnitState& s) {
        s.powerOn = 1;
        s.muted = 1;
    });
    ASSERT_TRUE(sim.SetPresent(0, false));
    ASSERT_TRUE(SimControl::WaitUntilListed(0, false));
    const TrayUnitState beforeUnreachable = trayState;
    StatusRefresh();
    EXPECT_EQ(LastIconResource(), UnreachableIcon);
    EXPECT_EQ(LastTooltipSuffix(), " ドライバにアクセスできません");
    EXPECT_EQ(std::memcmp(static_cast<const TrayUnitState*>(&trayState), &beforeUnreachable,
                          sizeof(TrayUnitState)),
              0);

    // A failed transfer on a present unit reads the same way.
    ASSERT_TRUE(sim.SetPresent(0, true));
    ASSERT_TRUE(SimControl::WaitUntilListed(0, true));
    ASSERT_TRUE(sim.FailNext(1));
    StatusRefresh();
    EXPECT_EQ(LastIconResource(), UnreachableIcon);
    EXPECT_TRUE(sim.WaitForOpenHandles(0));
}

TEST_F(StatusRefreshTest, MalformedStatusBytesStillFit) {
    Change([](SimUnitState& s) {
        s.powerOn = 1;
        s.source = 0;
        s.overrideMask = (1u << 4) | (1u << 9) | (1u << 12) | (1u << 13) | (1u << 5);
        s.overrideBytes[4] = 0xFF;
        s.overrideBytes[5] = 0x11;
        s.overrideBytes[9] = 0xFF;
        s.overrideBytes[12] = 0xFF;
        s.overrideBytes[13] = 0xFF;
    });
    StatusRefresh();
    EXPECT_EQ(LastTooltipSuffix(), " Vol=165 (N.B.1)\n[TUNER 165: FM 166.65MHz]");
    EXPECT_EQ(trayState.tunerPreset, 165);
}

} // namespace
