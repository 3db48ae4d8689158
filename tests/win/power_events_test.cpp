// The mixer volume snapshot against mixers of the tests' own and against Wine's, and the power
// and session handlers against the simulated unit.
#include "power/mixer_volume_snapshot.h"
#include "power/power_events.h"
#include "support/fake_mixers.h"
#include "support/fake_tray_icon.h"
#include "support/sim_fixture.h"
#include "tray/tray_icons.h"
#include "tray/tray_state.h"
#include "unit/command_code.h"
#include "unit/unit_link.h"

#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

Texts Take(FakeMixers& fake) {
    return std::exchange(fake.calls, {});
}

TEST(MixerVolumeSnapshot, CallsForEveryKindOfMixer) {
    FakeMixers fake({{.controlId = 0, .value = 30000}, // 0 is a real control id
                     {.speakers = false},
                     {.volume = false},
                     {.opens = false},
                     {.controlId = 0x204, .value = 0},
                     {.readable = false, .controlId = 0x205}});
    MixerVolumeSnapshot snapshot;
    EXPECT_EQ(Take(fake),
              (Texts{"count",  "open 0",     "line 0", "controls 0", "close 0",    "open 1",
                     "line 1", "close 1",    "open 2", "line 2",     "controls 2", "close 2",
                     "open 3", "open 4",     "line 4", "controls 4", "close 4",    "open 5",
                     "line 5", "controls 5", "close 5"}));
    EXPECT_EQ(snapshot.mixerCount, 6);
    snapshot.RestoreVolumes();
    EXPECT_EQ(Take(fake), Texts{}) << "nothing saved yet, so nothing to write";
    snapshot.SaveVolumes();
    EXPECT_EQ(Take(fake), (Texts{"open 0", "get 0 id=0x0", "close 0", "open 4", "get 4 id=0x204",
                                 "close 4", "open 5", "get 5 id=0x205", "close 5"}));
    fake.mixers[0].value = fake.mixers[4].value = 77;
    snapshot.RestoreVolumes();
    // A saved 0 comes back through 1, not through 0xFFFFFFFF; the unreadable one is left alone.
    EXPECT_EQ(Take(fake), (Texts{"open 0", "set 0 id=0x0 =29999", "set 0 id=0x0 =30000", "close 0",
                                 "open 4", "set 4 id=0x204 =1", "set 4 id=0x204 =0", "close 4"}));
}

TEST(MixerVolumeSnapshot, MixersPastTheHundredthAreLeftAlone) {
    FakeMixers fake(std::vector<FakeMixer>(102));
    MixerVolumeSnapshot snapshot;
    snapshot.SaveVolumes();
    snapshot.RestoreVolumes();
    EXPECT_EQ(snapshot.mixerCount, 102);
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "open 99"), 3);
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "open 100"), 0);
}

class PowerEventsTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        trayState = TrayState{};
        TrayIconCalls().clear();
        // What the unit and the icon show at each read or write of a volume.
        fake_.onValueCall = [this] {
            seen_.push_back("on=" + std::to_string(State().powerOn) +
                            " icon=" + std::to_string(LastIconResource()));
        };
    }
    void TearDown() override {
        DeleteMixerSnapshot();
        SimTest::TearDown();
    }

    FakeMixers fake_{{{.controlId = 7, .value = 40000}}};
    Texts seen_;
};

TEST_F(PowerEventsTest, WhatEachNotificationDoes) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM param;
        bool keepPower;
        std::vector<std::uint32_t> sent;
        std::int32_t icon; // 0: no refresh
        Texts seen;
    };
    const Case cases[] = {
        {"suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, false, {PowerOff}, 102, {"on=1 icon=0"}},
        // Nothing saved in this process yet: no volume is written.
        {"resume", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, false, {PowerOn}, 101, {}},
        {"critical resume", WM_POWERBROADCAST, PBT_APMRESUMECRITICAL, false, {}, 0, {}},
        {"session end", WM_ENDSESSION, TRUE, false, {PowerOff}, 0, {}},
        {"session end, -q", WM_ENDSESSION, TRUE, true, {}, 0, {}},
        {"cancelled session end", WM_ENDSESSION, FALSE, false, {}, 0, {}},
    };
    for (const Case& c : cases) {
        Change([&](SimUnitState& s) { s.powerOn = c.sent.empty() || c.sent[0] == PowerOff; });
        TakeLog();
        DeleteMixerSnapshot();
        TrayIconCalls().clear();
        seen_.clear();
        trayState.keepPowerAtSessionEnd = c.keepPower;
        UnitLink link;
        if (c.message == WM_ENDSESSION) {
            HandleSessionEnd(c.param, link);
        } else {
            HandlePowerBroadcast(c.param, link);
        }
        EXPECT_EQ(Commands(TakeLog()), c.sent) << c.name;
        EXPECT_EQ(LastIconResource(), c.icon) << c.name;
        EXPECT_EQ(seen_, c.seen) << c.name;
    }
}

TEST_F(PowerEventsTest, ResumeWritesBackTheLatestSaveAfterTheRefresh) {
    // A link per notification, as the window procedure has.
    auto notify = [](void (*handler)(UnitLink&)) {
        UnitLink link;
        handler(link);
    };
    notify(HandleSuspend);
    fake_.mixers[0].value = 123;
    notify(HandleSuspend);
    fake_.mixers[0].value = 1;
    seen_.clear();
    Take(fake_);
    notify(HandleResume);
    EXPECT_EQ(seen_, (Texts{"on=1 icon=101", "on=1 icon=101"}));
    EXPECT_EQ(Take(fake_), (Texts{"open 0", "set 0 id=0x7 =122", "set 0 id=0x7 =123", "close 0"}));
}

// Wine's mixers of the silent sound device that the test scripts give it.
TEST(RealMixers, TheSpeakersVolumeComesBack) {
    MixerVolumeSnapshot snapshot;
    ASSERT_GT(snapshot.mixerCount, 0) << "no sound device";
    ASSERT_TRUE(snapshot.volumeFound[0]) << "no speakers volume on mixer 0";
    // Sets the volume when given a value; gives the volume read afterwards.
    auto volume = [&](const DWORD* value) {
        HMIXER mixer = nullptr;
        EXPECT_EQ(mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_NOERROR);
        HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer);
        MIXERCONTROLDETAILS_UNSIGNED detail = {value != nullptr ? *value : 0};
        MIXERCONTROLDETAILS details = {};
        details = {sizeof(details), snapshot.controlIds[0], 1, {}, sizeof(detail), &detail};
        EXPECT_TRUE(value == nullptr || mixerSetControlDetails(object, &details, 0) == 0);
        EXPECT_EQ(mixerGetControlDetailsA(object, &details, 0), MMSYSERR_NOERROR);
        mixerClose(mixer);
        return detail.dwValue;
    };
    const DWORD saved = 30000, changed = 1000;
    ASSERT_EQ(volume(&saved), saved);
    snapshot.SaveVolumes();
    ASSERT_EQ(volume(&changed), changed);
    snapshot.RestoreVolumes();
    EXPECT_EQ(volume(nullptr), saved);
}

} // namespace
