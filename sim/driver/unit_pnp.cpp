#include "sim/driver/unit_pnp.h"

#include "sim/driver/device_extension.h"
#include "sim/driver/irp_completion.h"
#include "sim/driver/unit_interface.h"
#include "sim/driver/unit_table.h"

namespace {

NTSTATUS NTAPI SignalForwardDone(DEVICE_OBJECT*, IRP*, void* context) {
    KeSetEvent(static_cast<KEVENT*>(context), IO_NO_INCREMENT, FALSE);
    // The IRP is ours again: the caller finishes it.
    return STATUS_MORE_PROCESSING_REQUIRED;
}

// Sends irp down the stack and waits until the lower drivers have finished with it, as
// IRP_MN_START_DEVICE requires before the function driver starts its own part.
NTSTATUS ForwardAndWait(DeviceExtension& unit, IRP* irp) {
    KEVENT done;
    KeInitializeEvent(&done, NotificationEvent, FALSE);
    IoCopyCurrentIrpStackLocationToNext(irp);
    IoSetCompletionRoutine(irp, SignalForwardDone, &done, TRUE, TRUE, TRUE);
    NTSTATUS status = IoCallDriver(unit.lower, irp);
    if (status == STATUS_PENDING) {
        KeWaitForSingleObject(&done, Executive, KernelMode, FALSE, nullptr);
        status = irp->IoStatus.Status;
    }
    return status;
}

NTSTATUS PassDown(DeviceExtension& unit, IRP* irp) {
    IoSkipCurrentIrpStackLocation(irp);
    return IoCallDriver(unit.lower, irp);
}

bool ClaimSlot(uint32_t instance, DEVICE_OBJECT* device) {
    SpinLockGuard guard(g_units.lock);
    UnitSlot& slot = g_units.slots[instance];
    if (slot.installed) {
        return false;
    }
    CatchUpUnitClock();
    slot.installed = 1;
    slot.started = 0;
    slot.present = 0;
    slot.openHandles = 0;
    slot.unitMsApplied = g_units.unitMs;
    slot.device = device;
    return true;
}

NTSTATUS StartUnit(DEVICE_OBJECT* device, IRP* irp) {
    DeviceExtension& unit = *ExtensionOf(device);
    NTSTATUS status = ForwardAndWait(unit, irp);
    if (NT_SUCCESS(status)) {
        {
            SpinLockGuard guard(g_units.lock);
            UnitSlot& slot = g_units.slots[unit.instance];
            slot.started = 1;
            slot.present = 1;
        }
        status = IoSetDeviceInterfaceState(&unit.interfaceLink, TRUE);
    }
    return CompleteIrp(irp, status, irp->IoStatus.Information);
}

// Takes the unit out of sight; true when its interface was enabled and must be disabled.
bool Withdraw(uint32_t instance, bool uninstall) {
    SpinLockGuard guard(g_units.lock);
    UnitSlot& slot = g_units.slots[instance];
    const bool wasPresent = slot.present;
    slot.present = 0;
    ++slot.generation;
    if (uninstall) {
        slot.installed = 0;
        slot.started = 0;
        slot.device = nullptr;
    }
    return wasPresent;
}

NTSTATUS RemoveUnit(DEVICE_OBJECT* device, IRP* irp) {
    DeviceExtension& unit = *ExtensionOf(device);
    if (Withdraw(unit.instance, true)) {
        IoSetDeviceInterfaceState(&unit.interfaceLink, FALSE);
    }
    irp->IoStatus.Status = STATUS_SUCCESS;
    const NTSTATUS status = PassDown(unit, irp);
    IoDetachDevice(unit.lower);
    RtlFreeUnicodeString(&unit.interfaceLink);
    IoDeleteDevice(device);
    return status;
}

NTSTATUS SurpriseRemoveUnit(DEVICE_OBJECT* device, IRP* irp) {
    DeviceExtension& unit = *ExtensionOf(device);
    if (Withdraw(unit.instance, false)) {
        IoSetDeviceInterfaceState(&unit.interfaceLink, FALSE);
    }
    irp->IoStatus.Status = STATUS_SUCCESS;
    return PassDown(unit, irp);
}

void UndoAddDevice(DEVICE_OBJECT* device) {
    DeviceExtension& unit = *ExtensionOf(device);
    if (unit.interfaceLink.Buffer != nullptr) {
        RtlFreeUnicodeString(&unit.interfaceLink);
    }
    if (unit.lower != nullptr) {
        IoDetachDevice(unit.lower);
    }
    IoDeleteDevice(device);
}

} // namespace

NTSTATUS NTAPI AddUnitDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* pdo) {
    DEVICE_OBJECT* device = nullptr;
    // Not exclusive: the program opens a second handle while its first is still open.
    NTSTATUS status = IoCreateDevice(driver, sizeof(DeviceExtension), nullptr, FILE_DEVICE_UNKNOWN,
                                     FILE_DEVICE_SECURE_OPEN, FALSE, &device);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    DeviceExtension& unit = *ExtensionOf(device);
    unit.role = DeviceRoleUnit;
    unit.lower = IoAttachDeviceToDeviceStack(device, pdo);
    if (unit.lower == nullptr) {
        UndoAddDevice(device);
        return STATUS_NO_SUCH_DEVICE;
    }
    status = IoRegisterDeviceInterface(pdo, &UnitInterfaceClass, nullptr, &unit.interfaceLink);
    if (!NT_SUCCESS(status)) {
        UndoAddDevice(device);
        return status;
    }
    uint32_t instance = 0;
    if (!InstanceFromInterfaceLink(unit.interfaceLink, instance) || instance >= SimMaxInstances ||
        !ClaimSlot(instance, device)) {
        UndoAddDevice(device);
        return STATUS_INVALID_DEVICE_REQUEST;
    }
    unit.instance = instance;
    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

NTSTATUS DispatchUnitPnp(DEVICE_OBJECT* device, IRP* irp) {
    switch (IoGetCurrentIrpStackLocation(irp)->MinorFunction) {
    case IRP_MN_START_DEVICE: return StartUnit(device, irp);
    case IRP_MN_SURPRISE_REMOVAL: return SurpriseRemoveUnit(device, irp);
    case IRP_MN_REMOVE_DEVICE: return RemoveUnit(device, irp);
    default: return PassDown(*ExtensionOf(device), irp);
    }
}

NTSTATUS DispatchUnitPower(DEVICE_OBJECT* device, IRP* irp) {
    // Power IRPs are for the bus below; a simulated unit has no power state of its own.
    return PassDown(*ExtensionOf(device), irp);
}

NTSTATUS SetUnitPresent(uint32_t instance, bool present) {
    DEVICE_OBJECT* device = nullptr;
    {
        SpinLockGuard guard(g_units.lock);
        UnitSlot& slot = g_units.slots[instance];
        if (!slot.installed || !slot.started) {
            return STATUS_NO_SUCH_DEVICE;
        }
        if ((slot.present != 0) == present) {
            return STATUS_SUCCESS;
        }
        slot.present = present ? 1 : 0;
        if (!present) {
            ++slot.generation;
        }
        device = slot.device;
    }
    // Outside the lock: Wine's version broadcasts the device change before it returns.
    const NTSTATUS status = IoSetDeviceInterfaceState(&ExtensionOf(device)->interfaceLink, present);
    if (!NT_SUCCESS(status)) {
        SpinLockGuard guard(g_units.lock);
        g_units.slots[instance].present = present ? 0 : 1;
    }
    return status;
}
