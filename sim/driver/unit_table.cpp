#include "sim/driver/unit_table.h"

#include "sim/driver/kernel_clock.h"

UnitTable g_units;

void InitUnitTable() {
    g_units.startMs = KernelClockMs();
    g_units.lastRealMs = g_units.startMs;
    g_units.unitMs = 0;
    g_units.clockRunning = 1;
    g_units.readAnswerBytes = SimTransferDataSize;
    g_units.log.nextSequence = 1;
    for (UnitSlot& slot : g_units.slots) {
        SimUnitReset(slot.unit);
    }
}

namespace {

void TickInstalledUnits() {
    for (UnitSlot& slot : g_units.slots) {
        if (!slot.installed) {
            continue;
        }
        // The model takes 32 bits of milliseconds at a time; weeks owed are unlikely but handled.
        uint64_t left = g_units.unitMs - slot.unitMsApplied;
        while (left > 0) {
            const uint32_t step = left > 0x7FFFFFFF ? 0x7FFFFFFFu : static_cast<uint32_t>(left);
            SimUnitTick(slot.unit, step);
            left -= step;
        }
        slot.unitMsApplied = g_units.unitMs;
    }
}

} // namespace

void CatchUpUnitClock() {
    const uint64_t now = KernelClockMs();
    if (g_units.clockRunning && now > g_units.lastRealMs) {
        g_units.unitMs += now - g_units.lastRealMs;
    }
    g_units.lastRealMs = now;
    TickInstalledUnits();
}

void AdvanceUnitClock(uint64_t ms) {
    CatchUpUnitClock();
    g_units.unitMs += ms;
    TickInstalledUnits();
}

uint32_t LogTimeMs() {
    return static_cast<uint32_t>(KernelClockMs() - g_units.startMs);
}

void AppendLogEntry(const SimLogEntry& entry) {
    EventLog& log = g_units.log;
    SimLogEntry& newest = log.recent[log.recentNext];
    newest = entry;
    newest.sequence = log.nextSequence++;
    newest.timeMs = LogTimeMs();
    log.recentNext = (log.recentNext + 1) % SimRecentCapacity;
    if (log.recentCount < SimRecentCapacity) {
        ++log.recentCount;
    }
    if (log.count == SimLogCapacity) {
        ++log.dropped;
        return;
    }
    log.entries[log.count++] = newest;
}

uint32_t TakeLogEntries(SimLogEntry* out, uint32_t capacity, bool clear) {
    EventLog& log = g_units.log;
    const uint32_t taken = log.count < capacity ? log.count : capacity;
    for (uint32_t i = 0; i < taken; ++i) {
        out[i] = log.entries[i];
    }
    if (clear) {
        for (uint32_t i = taken; i < log.count; ++i) {
            log.entries[i - taken] = log.entries[i];
        }
        log.count -= taken;
        log.dropped = 0;
    }
    return taken;
}

uint32_t CopyRecentEntries(SimLogEntry* out, uint32_t capacity) {
    const EventLog& log = g_units.log;
    const uint32_t copied = log.recentCount < capacity ? log.recentCount : capacity;
    // The oldest of the copied entries sits copied places behind the next free slot.
    uint32_t from = (log.recentNext + SimRecentCapacity - copied) % SimRecentCapacity;
    for (uint32_t i = 0; i < copied; ++i) {
        out[i] = log.recent[from];
        from = (from + 1) % SimRecentCapacity;
    }
    return copied;
}
