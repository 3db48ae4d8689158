// norviksim.sys: a simulated Norvik unit behind the same driver interface the real unit's
// driver offers, so that the unmodified program finds, opens and talks to it; plus a control
// device through which tests and demos read and steer the simulated units.

#include "sim/driver/control_dispatch.h"
#include "sim/driver/device_extension.h"
#include "sim/driver/irp_completion.h"
#include "sim/driver/unit_dispatch.h"
#include "sim/driver/unit_pnp.h"
#include "sim/driver/unit_table.h"

namespace {

DEVICE_OBJECT* g_controlDevice;

UNICODE_STRING ControlDeviceName() {
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, L"\\Device\\NorvikSimControl");
    return name;
}

UNICODE_STRING ControlLinkName() {
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, L"\\DosDevices\\NorvikSimControl");
    return name;
}

NTSTATUS CreateControlDevice(DRIVER_OBJECT* driver) {
    UNICODE_STRING name = ControlDeviceName();
    DEVICE_OBJECT* device = nullptr;
    NTSTATUS status = IoCreateDevice(driver, sizeof(DeviceExtension), &name, FILE_DEVICE_UNKNOWN,
                                     FILE_DEVICE_SECURE_OPEN, FALSE, &device);
    if (!NT_SUCCESS(status)) {
        return status;
    }
    ExtensionOf(device)->role = DeviceRoleControl;
    UNICODE_STRING link = ControlLinkName();
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }
    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    g_controlDevice = device;
    return STATUS_SUCCESS;
}

bool IsUnit(DEVICE_OBJECT* device) {
    return ExtensionOf(device)->role == DeviceRoleUnit;
}

NTSTATUS NTAPI DispatchCreate(DEVICE_OBJECT* device, IRP* irp) {
    return IsUnit(device) ? DispatchUnitCreate(device, irp) : CompleteIrp(irp, STATUS_SUCCESS, 0);
}

NTSTATUS NTAPI DispatchClose(DEVICE_OBJECT* device, IRP* irp) {
    return IsUnit(device) ? DispatchUnitClose(device, irp) : CompleteIrp(irp, STATUS_SUCCESS, 0);
}

NTSTATUS NTAPI DispatchCleanup(DEVICE_OBJECT*, IRP* irp) {
    return CompleteIrp(irp, STATUS_SUCCESS, 0);
}

NTSTATUS NTAPI DispatchDeviceControl(DEVICE_OBJECT* device, IRP* irp) {
    return IsUnit(device) ? DispatchUnitControl(device, irp) : DispatchControlRequest(irp);
}

NTSTATUS NTAPI DispatchPnp(DEVICE_OBJECT* device, IRP* irp) {
    return IsUnit(device) ? DispatchUnitPnp(device, irp)
                          : CompleteIrp(irp, STATUS_NOT_SUPPORTED, 0);
}

NTSTATUS NTAPI DispatchPower(DEVICE_OBJECT* device, IRP* irp) {
    return IsUnit(device) ? DispatchUnitPower(device, irp)
                          : CompleteIrp(irp, STATUS_NOT_SUPPORTED, 0);
}

void NTAPI UnloadDriver(DRIVER_OBJECT*) {
    if (g_controlDevice != nullptr) {
        UNICODE_STRING link = ControlLinkName();
        IoDeleteSymbolicLink(&link);
        IoDeleteDevice(g_controlDevice);
        g_controlDevice = nullptr;
    }
}

} // namespace

extern "C" NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING*) {
    InitUnitTable();
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCleanup;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->MajorFunction[IRP_MJ_PNP] = DispatchPnp;
    driver->MajorFunction[IRP_MJ_POWER] = DispatchPower;
    driver->DriverExtension->AddDevice = AddUnitDevice;
    driver->DriverUnload = UnloadDriver;
    return CreateControlDevice(driver);
}
