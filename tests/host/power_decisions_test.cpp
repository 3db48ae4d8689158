#include "power/mixer_arithmetic.h"
#include "power/power_decisions.h"

#include <gtest/gtest.h>

namespace {

TEST(PowerDecisions, OnlySuspendAndTheResumeFromItAreActedOn) {
    for (auto [param, event] : {std::pair{4u, PowerEvent::Suspend},
                                {7u, PowerEvent::Resume},
                                {0u, PowerEvent::None},
                                {6u, PowerEvent::None},
                                {18u, PowerEvent::None},
                                {10u, PowerEvent::None}}) {
        EXPECT_EQ(PowerEventOf(param), event) << param;
    }
}

TEST(PowerDecisions, SessionEndPowersOffOnlyWhenItHappensWithoutQ) {
    EXPECT_TRUE(PowerOffAtSessionEnd(true, false));
    EXPECT_FALSE(PowerOffAtSessionEnd(true, true));
    EXPECT_FALSE(PowerOffAtSessionEnd(false, false)); // cancelled
    EXPECT_FALSE(PowerOffAtSessionEnd(false, true));
}

TEST(PowerDecisions, MixerSlotsAndRestoreWrites) {
    for (auto [count, used] : {std::pair{0, 0}, {3, 3}, {100, 100}, {101, 100}, {-1, 0}}) {
        EXPECT_EQ(MixerSlotsInUse(count), used) << count;
    }
    // Never through full volume: a saved 0 comes back through 1.
    for (auto [saved, first, second] : {std::tuple{0u, 1u, 0u},
                                        {1u, 0u, 1u},
                                        {30000u, 29999u, 30000u},
                                        {0xFFFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu}}) {
        EXPECT_EQ(RestoreWritesFor(saved).first, first) << saved;
        EXPECT_EQ(RestoreWritesFor(saved).second, second) << saved;
    }
}

} // namespace
