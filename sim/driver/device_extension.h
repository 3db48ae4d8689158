#pragma once

#include "sim/driver/kernel_headers.h"

#include <stdint.h>

// Both kinds of device object the driver owns carry this extension; role tells the dispatch
// routines which one an IRP came to.
enum DeviceRole : uint32_t {
    DeviceRoleUnit = 0x54494E55,    // 'UNIT'
    DeviceRoleControl = 0x4C525443, // 'CTRL'
};

struct DeviceExtension {
    DeviceRole role;
    // Units only: the instance number, the device below ours in the PDO's stack, and the
    // interface's symbolic link as IoRegisterDeviceInterface returned it (freed at removal).
    uint32_t instance;
    DEVICE_OBJECT* lower;
    UNICODE_STRING interfaceLink;
};

inline DeviceExtension* ExtensionOf(DEVICE_OBJECT* device) {
    return static_cast<DeviceExtension*>(device->DeviceExtension);
}
