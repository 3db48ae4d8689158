#pragma once

// The faults a test can plant in the simulated unit's driver, and which transfers they strike:
// a number of transfers to fail, one transfer in N failing, or every transfer refused as a busy
// or broken unit refuses them. Freestanding: the kernel driver and the host tests share it.

#include <stdint.h>

// NTSTATUS values, spelt out for code that sees no Windows headers.
constexpr uint32_t SimStatusSuccess = 0x00000000;
constexpr uint32_t SimStatusIoDeviceError = 0xC0000185;  // a transfer that went wrong
constexpr uint32_t SimStatusDeviceNotReady = 0xC00000A3; // a unit that will not answer

struct SimFaultPlan {
    uint32_t pendingFailures;  // the next transfers to fail
    uint32_t failEvery;        // 0: off; N: the Nth, 2Nth, ... transfer from now on fails
    uint32_t transfersCounted; // since failEvery was set
    uint32_t refuseTransfers;  // 1: every transfer is refused; opens still succeed
};

// Starts one transfer in every transfers failing, counted from the next one; 0 ends it.
void SetFailEvery(SimFaultPlan& plan, uint32_t every);

// Counts one transfer and gives the status it fails with, or SimStatusSuccess when it goes
// ahead. A refusal comes before the failures asked for, and those before the one in N.
uint32_t NextTransferFault(SimFaultPlan& plan);
