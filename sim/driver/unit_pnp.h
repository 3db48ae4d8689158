#pragma once

// The unit devices' Plug and Play side: one device object per root-enumerated instance
// (ROOT\NORVIKSIM\0000, \0001, ...), each exposing the unit's device interface.

#include "sim/driver/kernel_headers.h"

#include <stdint.h>

NTSTATUS NTAPI AddUnitDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* pdo);
NTSTATUS DispatchUnitPnp(DEVICE_OBJECT* device, IRP* irp);
NTSTATUS DispatchUnitPower(DEVICE_OBJECT* device, IRP* irp);

// Plugs or unplugs a started unit by enabling or disabling its interface, as the unit's
// arrival and removal would. Unplugging also kills the handles open on it.
NTSTATUS SetUnitPresent(uint32_t instance, bool present);
