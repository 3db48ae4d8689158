#include "sim/install/device_install.h"

#include <setupapi.h>

#include <cstdio>

namespace {

// The "System devices" setup class, {4D36E97D-E325-11CE-BFC1-08002BE10318}.
const GUID SystemDeviceClass = {
    0x4D36E97D, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// A REG_MULTI_SZ with one string: the string, its terminator and the list's terminator.
bool SetMultiString(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property, const char* text) {
    char value[64] = {};
    const int length = std::snprintf(value, sizeof(value) - 1, "%s", text);
    if (length < 0 || length >= static_cast<int>(sizeof(value)) - 1) {
        return false;
    }
    return SetupDiSetDeviceRegistryPropertyA(set, &device, property,
                                             reinterpret_cast<const BYTE*>(value),
                                             static_cast<DWORD>(length + 2)) != FALSE;
}

bool SetString(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property, const char* text) {
    DWORD size = 0;
    while (text[size] != '\0') {
        ++size;
    }
    return SetupDiSetDeviceRegistryPropertyA(
               set, &device, property, reinterpret_cast<const BYTE*>(text), size + 1) != FALSE;
}

DWORD RegisterDevice(HDEVINFO set, const char* instanceId) {
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    if (!SetupDiCreateDeviceInfoA(set, instanceId, &SystemDeviceClass, nullptr, nullptr, 0,
                                  &device)) {
        const DWORD error = GetLastError();
        return error == ERROR_DEVINST_ALREADY_EXISTS ? ERROR_SUCCESS : error;
    }
    if (!SetMultiString(set, device, SPDRP_HARDWAREID, SimHardwareId) ||
        !SetString(set, device, SPDRP_SERVICE, SimServiceName) ||
        !SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device)) {
        return GetLastError();
    }
    return ERROR_SUCCESS;
}

} // namespace

DWORD InstallSimService() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
    if (manager == nullptr) {
        return GetLastError();
    }
    DWORD result = ERROR_SUCCESS;
    SC_HANDLE service =
        CreateServiceA(manager, SimServiceName, SimServiceName, SERVICE_ALL_ACCESS,
                       SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                       SimDriverPath, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service != nullptr) {
        CloseServiceHandle(service);
    } else if (GetLastError() != ERROR_SERVICE_EXISTS) {
        result = GetLastError();
    }
    CloseServiceHandle(manager);
    return result;
}

DWORD InstallSimDevice(unsigned instance) {
    char instanceId[32];
    const int length =
        std::snprintf(instanceId, sizeof(instanceId), "%s\\%04u", SimHardwareId, instance);
    if (length < 0 || length >= static_cast<int>(sizeof(instanceId))) {
        return ERROR_INVALID_PARAMETER;
    }
    HDEVINFO set = SetupDiCreateDeviceInfoList(&SystemDeviceClass, nullptr);
    if (set == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    const DWORD result = RegisterDevice(set, instanceId);
    SetupDiDestroyDeviceInfoList(set);
    return result;
}
