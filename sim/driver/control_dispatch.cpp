#include "sim/driver/control_dispatch.h"

#include "sim/control_protocol.h"
#include "sim/driver/irp_completion.h"
#include "sim/driver/unit_pnp.h"
#include "sim/driver/unit_table.h"

#include <stddef.h>

namespace {

struct Reply {
    NTSTATUS status;
    ULONG_PTR information;
};

constexpr Reply Done = {STATUS_SUCCESS, 0};

// The fixed part of every request; the unit state follows only for SimOpSetState.
constexpr uint32_t RequestHeadSize = offsetof(SimRequest, state);

bool IsInstalled(uint32_t instance) {
    return instance < SimMaxInstances && g_units.slots[instance].installed;
}

Reply GetInfo(uint8_t* out, uint32_t outLength) {
    if (outLength < sizeof(SimInfo)) {
        return {STATUS_BUFFER_TOO_SMALL, 0};
    }
    SimInfo info = {};
    for (uint32_t i = 0; i < SimMaxInstances; ++i) {
        const UnitSlot& slot = g_units.slots[i];
        info.instances[i].installed = slot.installed;
        info.instances[i].present = slot.present;
        info.instances[i].openHandles = slot.openHandles;
        info.openHandles += slot.openHandles;
        if (slot.installed) {
            info.instanceCount = i + 1;
        }
    }
    info.pendingFailures = g_units.faults.pendingFailures;
    info.failEvery = g_units.faults.failEvery;
    info.refusing = g_units.faults.refuseTransfers;
    info.clockRunning = g_units.clockRunning;
    info.readAnswerBytes = g_units.readAnswerBytes;
    *reinterpret_cast<SimInfo*>(out) = info;
    return {STATUS_SUCCESS, sizeof(SimInfo)};
}

enum class LogPart { Oldest, OldestCleared, Newest };

Reply ReadLog(uint8_t* out, uint32_t outLength, LogPart part) {
    if (outLength < sizeof(SimLogReply)) {
        return {STATUS_BUFFER_TOO_SMALL, 0};
    }
    SimLogReply head = {};
    head.dropped = g_units.log.dropped;
    const uint32_t room = (outLength - sizeof(SimLogReply)) / sizeof(SimLogEntry);
    auto* entries = reinterpret_cast<SimLogEntry*>(out + sizeof(SimLogReply));
    head.count = part == LogPart::Newest
                     ? CopyRecentEntries(entries, room)
                     : TakeLogEntries(entries, room, part == LogPart::OldestCleared);
    *reinterpret_cast<SimLogReply*>(out) = head;
    return {STATUS_SUCCESS, sizeof(SimLogReply) + head.count * sizeof(SimLogEntry)};
}

// Everything that only touches the table, under its lock. SetPresent and Reset leave the
// interface change to the caller, which must not hold the lock for it.
Reply UnderLock(const SimRequest& head, const uint8_t* in, uint32_t inLength, uint8_t* out,
                uint32_t outLength) {
    SpinLockGuard guard(g_units.lock);
    CatchUpUnitClock();
    switch (head.op) {
    case SimOpGetInfo: return GetInfo(out, outLength);
    case SimOpFailNext: g_units.faults.pendingFailures = head.arg; return Done;
    case SimOpFailEvery: SetFailEvery(g_units.faults, head.arg); return Done;
    case SimOpRefuse: g_units.faults.refuseTransfers = head.arg != 0 ? 1 : 0; return Done;
    case SimOpReadLog:
        return ReadLog(out, outLength, head.arg != 0 ? LogPart::OldestCleared : LogPart::Oldest);
    case SimOpReadRecent: return ReadLog(out, outLength, LogPart::Newest);
    case SimOpSetClock: g_units.clockRunning = head.arg != 0 ? 1 : 0; return Done;
    case SimOpAdvanceClock: AdvanceUnitClock(head.arg); return Done;
    case SimOpSetReadAnswer:
        if (head.arg > SimTransferDataSize) {
            return {STATUS_INVALID_PARAMETER, 0};
        }
        g_units.readAnswerBytes = head.arg;
        return Done;
    default: break;
    }
    if (!IsInstalled(head.instance)) {
        return {STATUS_NO_SUCH_DEVICE, 0};
    }
    UnitSlot& slot = g_units.slots[head.instance];
    switch (head.op) {
    case SimOpGetState:
        if (outLength < sizeof(SimUnitState)) {
            return {STATUS_BUFFER_TOO_SMALL, 0};
        }
        *reinterpret_cast<SimUnitState*>(out) = slot.unit;
        return {STATUS_SUCCESS, sizeof(SimUnitState)};
    case SimOpSetState:
        if (inLength < sizeof(SimRequest)) {
            return {STATUS_INVALID_PARAMETER, 0};
        }
        slot.unit = reinterpret_cast<const SimRequest*>(in)->state;
        return Done;
    case SimOpPress: {
        const uint32_t applied = SimUnitApply(slot.unit, head.arg) ? 1 : 0;
        if (outLength < sizeof(uint32_t)) {
            return Done;
        }
        *reinterpret_cast<uint32_t*>(out) = applied;
        return {STATUS_SUCCESS, sizeof(uint32_t)};
    }
    case SimOpSetPresent: return Done;
    case SimOpReset: SimUnitReset(slot.unit); return Done;
    default: return {STATUS_INVALID_PARAMETER, 0};
    }
}

} // namespace

NTSTATUS DispatchControlRequest(IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (stack->Parameters.DeviceIoControl.IoControlCode != SimControlIoctl) {
        return CompleteIrp(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
    const uint32_t inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    const uint32_t outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    // METHOD_BUFFERED: one buffer carries the request in and the reply out.
    auto* buffer = static_cast<uint8_t*>(irp->AssociatedIrp.SystemBuffer);
    if (buffer == nullptr || inLength < RequestHeadSize) {
        return CompleteIrp(irp, STATUS_INVALID_PARAMETER, 0);
    }
    SimRequest head;
    head.op = reinterpret_cast<const SimRequest*>(buffer)->op;
    head.instance = reinterpret_cast<const SimRequest*>(buffer)->instance;
    head.arg = reinterpret_cast<const SimRequest*>(buffer)->arg;

    Reply reply = UnderLock(head, buffer, inLength, buffer, outLength);
    if (NT_SUCCESS(reply.status) && head.op == SimOpSetPresent) {
        reply.status = SetUnitPresent(head.instance, head.arg != 0);
    } else if (NT_SUCCESS(reply.status) && head.op == SimOpReset) {
        reply.status = SetUnitPresent(head.instance, true);
    }
    return CompleteIrp(irp, reply.status, reply.information);
}
