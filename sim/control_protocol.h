#pragma once

// The simulated unit's test and demo channel: a second control code on a control device of
// its own, which NorvikDeckhand.exe never uses. Shared by the kernel driver (freestanding) and
// its user-mode clients (unitsim, the Windows-side tests).

#include "sim/transfer_check.h"
#include "sim/transfer_faults.h"
#include "sim/unit_model.h"

#include <stdint.h>

// User-mode path of the control device; the driver names it \Device\NorvikSimControl and links
// \DosDevices\NorvikSimControl to it.
#define SIM_CONTROL_DEVICE_PATH "\\\\.\\NorvikSimControl"

// CTL_CODE(FILE_DEVICE_UNKNOWN, 0x900, METHOD_BUFFERED, FILE_ANY_ACCESS)
constexpr uint32_t SimControlIoctl = 0x222400;

constexpr uint32_t SimMaxInstances = 16;
constexpr uint32_t SimLogCapacity = 512;
constexpr uint32_t SimLogBytesKept = 64;
// The newest entries, kept apart from the log whether or not it was cleared or filled up.
constexpr uint32_t SimRecentCapacity = 16;

enum SimOp : uint32_t {
    SimOpGetInfo = 1,       // -> SimInfo
    SimOpGetState = 2,      // instance -> SimUnitState
    SimOpSetState = 3,      // instance, SimUnitState in payload -> nothing
    SimOpPress = 4,         // instance, arg = command code -> uint32_t 1 applied / 0 unknown code
    SimOpSetPresent = 5,    // instance, arg = 1 plug / 0 unplug -> nothing
    SimOpFailNext = 6,      // arg = number of transfers to fail, on any instance -> nothing
    SimOpReadLog = 7,       // arg = 1 to clear what was read -> SimLogReply + entries
    SimOpSetClock = 8,      // arg = 1 time runs / 0 time stands still -> nothing
    SimOpReset = 9,         // instance: factory state, present; log and failures untouched
    SimOpAdvanceClock = 10, // arg = milliseconds of unit time to let pass now, clock running or not
    SimOpSetReadAnswer = 11, // arg = status bytes (0..32) every status read is answered with, on
                             // any instance -> nothing
    SimOpReadRecent = 12,    // -> SimLogReply + the newest entries, oldest first; clears nothing
    SimOpFailEvery = 20, // arg = N: one transfer in N, on any unit, fails from now on; 0 ends it
    SimOpRefuse = 21,    // arg = 1: every transfer, on any unit, is refused; 0 ends it
};

// What an open records as its access mask when the I/O manager does not say. Wine's does not:
// it hands IRP_MJ_CREATE no security context, so only the share mode arrives.
constexpr uint32_t SimAccessUnknown = 0xFFFFFFFF;

struct SimRequest {
    uint32_t op;       // SimOp
    uint32_t instance; // device instance number (the 4-digit suffix of its instance id)
    uint32_t arg;
    uint32_t reserved;
    SimUnitState state; // SimOpSetState only
};

struct SimInstanceInfo {
    uint32_t installed; // AddDevice ran for this instance number
    uint32_t present;   // its interface is enabled
    uint32_t openHandles;
};

struct SimInfo {
    uint32_t instanceCount;   // highest installed instance number + 1
    uint32_t openHandles;     // over all instances
    uint32_t pendingFailures; // transfers still to be failed
    uint32_t clockRunning;
    uint32_t readAnswerBytes; // status bytes a read is answered with; SimTransferDataSize: all
    SimInstanceInfo instances[SimMaxInstances];
    uint32_t failEvery; // one transfer in this many fails; 0: none
    uint32_t refusing;  // every transfer is refused
};

enum SimLogKind : uint16_t {
    SimLogOpen = 1,
    SimLogClose = 2,
    SimLogWrite = 3,   // an accepted command transfer
    SimLogRead = 4,    // an accepted status transfer
    SimLogRefused = 5, // framing or sizes wrong, or another control code: an error status
    SimLogFailed = 6,  // failed on purpose (SimOpFailNext) or while unplugged
};

// The log holds what arrived on the unit devices, never on the control device. An open that
// failed (unit unplugged) is logged but has no close. Under Wine the close of a handle reaches
// the driver a moment after CloseHandle has returned: wait for the handle count before
// expecting it (SimControl::WaitForOpenHandles).
struct SimLogEntry {
    uint32_t sequence; // counts every entry, dropped ones too
    uint32_t timeMs;   // real time in milliseconds since the driver started, clock stopped or not
    uint16_t instance;
    uint16_t kind;   // SimLogKind
    uint32_t status; // the NTSTATUS the request was completed with
    uint32_t inputLength;
    uint32_t outputLength;
    uint32_t desiredAccess; // opens: the access mask asked for, or SimAccessUnknown
    uint32_t shareAccess;   // opens: the share mode asked for
    uint32_t command;       // accepted writes: the command code of the packet
    uint32_t applied;       // accepted writes: 1 when the unit acted on the packet, 0 when it
                            // ignored it (wrong checksum, unknown code)
    uint8_t input[SimLogBytesKept]; // the first bytes of the input buffer
};

struct SimLogReply {
    uint32_t count;   // entries that follow
    uint32_t dropped; // entries lost because the log was full since the last clear
};
