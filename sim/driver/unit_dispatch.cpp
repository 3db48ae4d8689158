#include "sim/driver/unit_dispatch.h"

#include "sim/driver/device_extension.h"
#include "sim/driver/irp_completion.h"
#include "sim/driver/unit_table.h"
#include "sim/transfer_check.h"
#include "sim/transfer_faults.h"

namespace {

// A handle's file object remembers the generation it was opened in (FsContext) and that it
// was counted as open (FsContext2), so that its close is matched with its open.
void* const CountedOpen = reinterpret_cast<void*>(1);

// Filled into the read reply's prefix, which the program never looks at, so that a caller
// taking the status block from the wrong offset gets an obviously wrong block.
constexpr uint8_t ReadPrefixFill = 0xEE;

SimLogEntry NewEntry(uint32_t instance, SimLogKind kind, NTSTATUS status) {
    SimLogEntry entry = {};
    entry.instance = static_cast<uint16_t>(instance);
    entry.kind = kind;
    entry.status = static_cast<uint32_t>(status);
    return entry;
}

void KeepInput(SimLogEntry& entry, const uint8_t* input, uint32_t length) {
    entry.inputLength = length;
    const uint32_t kept = length < SimLogBytesKept ? length : SimLogBytesKept;
    for (uint32_t i = 0; input != nullptr && i < kept; ++i) {
        entry.input[i] = input[i];
    }
}

struct TransferResult {
    NTSTATUS status;
    ULONG_PTR information;
};

// Carries out a transfer that the framing check accepted. buffer is both the input and the
// output (METHOD_BUFFERED), so the entry has already kept the input.
TransferResult CarryOut(SimTransferKind kind, UnitSlot& slot, uint8_t* buffer, SimLogEntry& entry) {
    if (kind == SimTransferWrite) {
        entry.kind = SimLogWrite;
        entry.command = WrittenCommandCode(buffer);
        const auto& packet = *reinterpret_cast<const uint8_t(*)[SimTransferDataSize]>(
            buffer + SimTransferHeaderSize);
        // A packet the unit ignores (wrong checksum, unknown code) still went through the
        // driver: the transfer succeeds and only the log tells.
        entry.applied = SimUnitApplyPacket(slot.unit, packet) ? 1 : 0;
        for (uint32_t i = 0; i < SimWriteReplySize; ++i) {
            buffer[i] = 0;
        }
        return {STATUS_SUCCESS, SimWriteReplySize};
    }
    entry.kind = SimLogRead;
    uint8_t block[SimTransferDataSize];
    SimUnitRenderStatus(slot.unit, block);
    for (uint32_t i = 0; i < SimReadPrefixSize; ++i) {
        buffer[i] = ReadPrefixFill;
    }
    // Only what the answer covers goes back to the caller: the I/O manager copies out as many
    // bytes as the request says it returned.
    const uint32_t answered = g_units.readAnswerBytes;
    for (uint32_t i = 0; i < answered; ++i) {
        buffer[SimReadPrefixSize + i] = block[i];
    }
    return {STATUS_SUCCESS, SimReadPrefixSize + answered};
}

} // namespace

NTSTATUS DispatchUnitCreate(DEVICE_OBJECT* device, IRP* irp) {
    const uint32_t instance = ExtensionOf(device)->instance;
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    // Wine passes no security context, so the access mask asked for is not known there.
    const IO_SECURITY_CONTEXT* security = stack->Parameters.Create.SecurityContext;
    NTSTATUS status = STATUS_SUCCESS;
    {
        SpinLockGuard guard(g_units.lock);
        UnitSlot& slot = g_units.slots[instance];
        // An unplugged unit is gone: nothing can open it, whatever name the caller still has.
        status = slot.present ? STATUS_SUCCESS : STATUS_NO_SUCH_DEVICE;
        SimLogEntry entry = NewEntry(instance, SimLogOpen, status);
        entry.desiredAccess = security != nullptr ? security->DesiredAccess : SimAccessUnknown;
        entry.shareAccess = stack->Parameters.Create.ShareAccess;
        AppendLogEntry(entry);
        if (NT_SUCCESS(status)) {
            stack->FileObject->FsContext = reinterpret_cast<void*>(uintptr_t(slot.generation));
            stack->FileObject->FsContext2 = CountedOpen;
            ++slot.openHandles;
        }
    }
    return CompleteIrp(irp, status, 0);
}

NTSTATUS DispatchUnitClose(DEVICE_OBJECT* device, IRP* irp) {
    const uint32_t instance = ExtensionOf(device)->instance;
    FILE_OBJECT* file = IoGetCurrentIrpStackLocation(irp)->FileObject;
    {
        SpinLockGuard guard(g_units.lock);
        // Only opens that succeeded are matched by a close in the log and the handle count.
        if (file != nullptr && file->FsContext2 == CountedOpen) {
            file->FsContext2 = nullptr;
            UnitSlot& slot = g_units.slots[instance];
            if (slot.openHandles > 0) {
                --slot.openHandles;
            }
            AppendLogEntry(NewEntry(instance, SimLogClose, STATUS_SUCCESS));
        }
    }
    return CompleteIrp(irp, STATUS_SUCCESS, 0);
}

NTSTATUS DispatchUnitControl(DEVICE_OBJECT* device, IRP* irp) {
    const uint32_t instance = ExtensionOf(device)->instance;
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    const uint32_t inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    const uint32_t outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    auto* buffer = static_cast<uint8_t*>(irp->AssociatedIrp.SystemBuffer);
    const FILE_OBJECT* file = stack->FileObject;
    const uint32_t openedIn = file != nullptr ? uint32_t(uintptr_t(file->FsContext)) : 0;
    const bool counted = file != nullptr && file->FsContext2 == CountedOpen;

    const bool isTransfer = code == UnitTransferControlCode;
    const SimTransferKind kind =
        isTransfer ? CheckTransfer(buffer, inputLength, outputLength) : SimTransferRefused;
    TransferResult result = {STATUS_SUCCESS, 0};
    {
        SpinLockGuard guard(g_units.lock);
        CatchUpUnitClock();
        UnitSlot& slot = g_units.slots[instance];
        SimLogEntry entry = NewEntry(instance, SimLogFailed, STATUS_SUCCESS);
        KeepInput(entry, buffer, inputLength);
        entry.outputLength = outputLength;
        // A handle from before an unplug stays dead, as a real device's would.
        const bool alive = slot.present && counted && openedIn == slot.generation;
        const uint32_t fault =
            alive && isTransfer ? NextTransferFault(g_units.faults) : SimStatusSuccess;
        if (!alive) {
            result.status = STATUS_DEVICE_NOT_CONNECTED;
        } else if (fault != SimStatusSuccess) {
            result.status = static_cast<NTSTATUS>(fault);
        } else if (kind == SimTransferRefused) {
            entry.kind = SimLogRefused;
            result.status = isTransfer ? STATUS_INVALID_PARAMETER : STATUS_INVALID_DEVICE_REQUEST;
        } else {
            result = CarryOut(kind, slot, buffer, entry);
        }
        entry.status = static_cast<uint32_t>(result.status);
        AppendLogEntry(entry);
    }
    return CompleteIrp(irp, result.status, result.information);
}
