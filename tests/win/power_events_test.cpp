// The mixer volume snapshot against mixers of the tests' own and against Wine's, and the order
// of the power handlers' work against the simulated unit.
#include "power/mixer_functions.h"
#include "power/mixer_volume_snapshot.h"
#include "power/power_events.h"
#include "support/fake_mixers.h"
#include "support/fake_tray_icon.h"
#include "support/sim_fixture.h"
#include "tray/tray_state.h"
#include "unit/unit_link.h"

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

// Wine's own mixers of the silent sound device that the test scripts give it: an output, and an
// input without a speakers line. The volume lives in this process.
TEST(MixerVolumeSnapshot, WinesMixers) {
    ASSERT_NE(LoadMixerFunctions(), nullptr) << "no winmm.dll in the system folder";
    MixerVolumeSnapshot snapshot, other;
    ASSERT_EQ(snapshot.mixerCount, 2) << "no silent sound device";
    EXPECT_TRUE(snapshot.volumeFound[0]);
    EXPECT_FALSE(snapshot.volumeFound[1]);
    snapshot.SaveVolumes();
    other.savedValues[0] = snapshot.savedValues[0] / 2;
    other.saved[0] = true;
    other.RestoreVolumes();
    other.SaveVolumes();
    ASSERT_EQ(other.savedValues[0], snapshot.savedValues[0] / 2) << "the volume was not changed";
    snapshot.RestoreVolumes();
    other.SaveVolumes();
    EXPECT_EQ(other.savedValues[0], snapshot.savedValues[0]);
}

using PowerEventsTest = SimTest;

// Saved while the unit is still on, written back once it is on again and shown; a resume
// with no save before it writes nothing; each suspend saves anew.
TEST_F(PowerEventsTest, VolumesAroundTheUnitsPowerAndTheRefresh) {
    trayState = TrayState{};
    FakeMixers fake({{.controlId = 7, .value = 40000}});
    Texts seen; // the unit's power and the icon at each read or write of a volume
    fake.onValueCall = [&] {
        seen.push_back(std::to_string(State().powerOn) + " " + std::to_string(LastIconResource()));
    };
    auto notify = [&](WPARAM event) {
        UnitLink link;
        HandlePowerBroadcast(event, link);
        return std::exchange(seen, {});
    };
    Change([](SimUnitState& s) { s.powerOn = 0; });
    TrayIconCalls().clear();
    EXPECT_EQ(notify(PBT_APMRESUMESUSPEND), Texts{});
    EXPECT_EQ(notify(PBT_APMSUSPEND), Texts{"1 101"});
    fake.mixers[0].value = 123;
    Change([](SimUnitState& s) { s.powerOn = 1; });
    EXPECT_EQ(notify(PBT_APMSUSPEND), Texts{"1 102"});
    EXPECT_EQ(LastIconResource(), 102);
    fake.mixers[0].value = 1;
    Take(fake);
    EXPECT_EQ(notify(PBT_APMRESUMESUSPEND), (Texts{"1 101", "1 101"}));
    EXPECT_EQ(Take(fake), (Texts{"open 0", "set 0 id=0x7 =122", "set 0 id=0x7 =123", "close 0"}));
    DeleteMixerSnapshot();
}

} // namespace
