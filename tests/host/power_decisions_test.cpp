#include "power/power_decisions.h"

#include <gtest/gtest.h>

namespace {

TEST(PowerDecisions, OnlySuspendAndItsResumeAreActedOn) {
    const std::pair<std::uintptr_t, PowerEvent> cases[] = {
        {4, PowerEvent::Suspend}, {7, PowerEvent::Resume}, {0, PowerEvent::None},
        {6, PowerEvent::None},    {18, PowerEvent::None},  {10, PowerEvent::None},
    };
    for (auto [param, event] : cases) {
        EXPECT_EQ(PowerEventOf(param), event) << param;
    }
}

TEST(PowerDecisions, SessionEndPowersOffOnlyWhenItHappensAndMayDoSo) {
    EXPECT_TRUE(PowerOffAtSessionEnd(true, false));
    EXPECT_FALSE(PowerOffAtSessionEnd(true, true));
    EXPECT_FALSE(PowerOffAtSessionEnd(false, false)); // cancelled
    EXPECT_FALSE(PowerOffAtSessionEnd(false, true));
}

TEST(PowerDecisions, MixersPastTheLastSlotAreLeftAlone) {
    for (auto [count, used] : {std::pair{0, 0}, {3, 3}, {100, 100}, {101, 100}, {-1, 0}}) {
        EXPECT_EQ(MixerSlotsInUse(count), used) << count;
    }
}

TEST(PowerDecisions, RestoreNeverPassesThroughFullVolume) {
    struct Case {
        std::uint32_t saved, first, second;
    };
    for (const Case& c : {Case{0, 1, 0}, Case{1, 0, 1}, Case{30000, 29999, 30000},
                          Case{0xFFFF, 0xFFFE, 0xFFFF}, Case{0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF}}) {
        const RestoreWrites writes = RestoreWritesFor(c.saved);
        EXPECT_EQ(writes.first, c.first) << c.saved;
        EXPECT_EQ(writes.second, c.second) << c.saved;
    }
}

} // namespace
