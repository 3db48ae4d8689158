#pragma once

// What the program itself sees: opening and closing a unit, and the unit's transfer control
// code. Every request is logged for the tests.

#include "sim/driver/kernel_headers.h"

// CTL_CODE(FILE_DEVICE_UNKNOWN, 0x804, METHOD_BUFFERED, FILE_ANY_ACCESS)
constexpr ULONG UnitTransferControlCode = 0x222010;

NTSTATUS DispatchUnitCreate(DEVICE_OBJECT* device, IRP* irp);
NTSTATUS DispatchUnitClose(DEVICE_OBJECT* device, IRP* irp);
NTSTATUS DispatchUnitControl(DEVICE_OBJECT* device, IRP* irp);
