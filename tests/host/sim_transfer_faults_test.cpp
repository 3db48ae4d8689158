// Which transfers a planted fault strikes in the simulated unit's driver.
#include "sim/transfer_faults.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// One letter per transfer: '.' goes ahead, 'E' fails with an I/O error, 'N' is refused as not
// ready.
std::string Transfers(SimFaultPlan& plan, int count) {
    std::string seen;
    for (int i = 0; i < count; ++i) {
        switch (NextTransferFault(plan)) {
        case SimStatusSuccess: seen += '.'; break;
        case SimStatusIoDeviceError: seen += 'E'; break;
        case SimStatusDeviceNotReady: seen += 'N'; break;
        default: seen += '?'; break;
        }
    }
    return seen;
}

SimFaultPlan Plan(std::uint32_t pending, std::uint32_t every, bool refuse) {
    SimFaultPlan plan = {};
    plan.pendingFailures = pending;
    SetFailEvery(plan, every);
    plan.refuseTransfers = refuse ? 1 : 0;
    return plan;
}

TEST(TransferFaults, EachPlanStrikesItsTransfers) {
    const struct {
        const char* name;
        SimFaultPlan plan;
        const char* expected;
    } cases[] = {
        {"no fault", Plan(0, 0, false), "........"},
        {"the next two", Plan(2, 0, false), "EE......"},
        {"one in three", Plan(0, 3, false), "..E..E.."},
        {"one in one", Plan(0, 1, false), "EEEEEEEE"},
        // The pending failures fall on the count as well: the rhythm stays one in three.
        {"two pending, then one in three", Plan(2, 3, false), "EEE..E.."},
        {"four pending over one in three", Plan(4, 3, false), "EEEE.E.."},
        {"refused", Plan(0, 0, true), "NNNNNNNN"},
        {"refusal before failures", Plan(2, 3, true), "NNNNNNNN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimFaultPlan plan = c.plan;
        EXPECT_EQ(Transfers(plan, 8), c.expected);
    }
}

TEST(TransferFaults, RefusedTransfersLeaveTheAskedFailuresForLater) {
    SimFaultPlan plan = Plan(2, 0, true);
    EXPECT_EQ(Transfers(plan, 3), "NNN");
    plan.refuseTransfers = 0;
    EXPECT_EQ(Transfers(plan, 4), "EE..");
}

TEST(TransferFaults, OneInNCountsFromWhenItWasSet) {
    SimFaultPlan plan = Plan(0, 3, false);
    EXPECT_EQ(Transfers(plan, 2), "..");
    SetFailEvery(plan, 2);
    EXPECT_EQ(Transfers(plan, 4), ".E.E");
    SetFailEvery(plan, 0);
    EXPECT_EQ(Transfers(plan, 4), "....");
    // The largest N neither overflows the count nor stops the rhythm.
    SetFailEvery(plan, 0xFFFFFFFF);
    plan.transfersCounted = 0xFFFFFFFE;
    EXPECT_EQ(Transfers(plan, 2), "E.");
}

} // namespace
