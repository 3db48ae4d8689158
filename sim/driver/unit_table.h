#pragma once

// Everything the driver knows, in one table behind one lock: each simulated unit by instance
// number, the injected failures, the unit clock and the event log.

#include "sim/control_protocol.h"
#include "sim/driver/spin_lock.h"
#include "sim/unit_model.h"

#include "sim/driver/kernel_headers.h"

#include <stdint.h>

struct UnitSlot {
    uint8_t installed; // AddDevice claimed this instance number
    uint8_t started;   // IRP_MN_START_DEVICE went through
    uint8_t present;   // the interface is enabled: the program can find and open the unit
    // Bumped at every unplug; a handle remembers the generation it was opened in, so handles
    // from before an unplug stay dead after the unit comes back.
    uint32_t generation;
    uint32_t openHandles;
    uint64_t unitMsApplied; // unit time already handed to the model
    DEVICE_OBJECT* device;  // our device object in the unit's stack
    SimUnitState unit;
};

struct EventLog {
    uint32_t count;
    uint32_t dropped;
    uint32_t nextSequence;
    SimLogEntry entries[SimLogCapacity];
    // A ring of the newest entries, for watchers that must not clear the log: recentNext is
    // where the next entry goes, recentCount how many are kept.
    SimLogEntry recent[SimRecentCapacity];
    uint32_t recentNext;
    uint32_t recentCount;
};

struct UnitTable {
    SpinLock lock;
    UnitSlot slots[SimMaxInstances];
    SimFaultPlan faults;
    // A read is answered with the prefix and this many status bytes; a real driver could return
    // fewer than asked, and the program must cope.
    uint32_t readAnswerBytes;
    uint8_t clockRunning;
    uint64_t unitMs;     // unit time: follows real time while clockRunning
    uint64_t lastRealMs; // real time when unitMs was last brought up to date
    uint64_t startMs;    // real time at DriverEntry; log times count from here
    EventLog log;
};

extern UnitTable g_units;

void InitUnitTable();

// The rest expects the caller to hold g_units.lock.

// Brings unit time up to now and lets every installed unit live through it.
void CatchUpUnitClock();
void AdvanceUnitClock(uint64_t ms);
uint32_t LogTimeMs();
// Appends entry, giving it its sequence number and time; a full log counts it as dropped.
void AppendLogEntry(const SimLogEntry& entry);
// Takes up to capacity of the oldest entries into out; with clear, they leave the log.
uint32_t TakeLogEntries(SimLogEntry* out, uint32_t capacity, bool clear);
// Copies up to capacity of the newest entries into out, oldest first.
uint32_t CopyRecentEntries(SimLogEntry* out, uint32_t capacity);
