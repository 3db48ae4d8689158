#include "sim/transfer_faults.h"

void SetFailEvery(SimFaultPlan& plan, uint32_t every) {
    plan.failEvery = every;
    plan.transfersCounted = 0;
}

uint32_t NextTransferFault(SimFaultPlan& plan) {
    // Every transfer counts towards the one in N, also one that fails for another reason, so
    // that the rhythm does not depend on what else was asked for.
    bool oneInN = false;
    if (plan.failEvery != 0) {
        plan.transfersCounted = plan.transfersCounted % plan.failEvery + 1;
        oneInN = plan.transfersCounted == plan.failEvery;
    }
    if (plan.refuseTransfers != 0) {
        return SimStatusDeviceNotReady;
    }
    if (plan.pendingFailures > 0) {
        --plan.pendingFailures;
        return SimStatusIoDeviceError;
    }
    return oneInN ? SimStatusIoDeviceError : SimStatusSuccess;
}
