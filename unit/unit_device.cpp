#include "unit/unit_device.h"

#include "unit/transfer_header.h"

#include <setupapi.h>

#include <cstring>

const GUID UnitInterfaceGuid = {
    0x40D21F00, 0x3D74, 0x11D4, {0x9D, 0x36, 0x00, 0x60, 0x97, 0x23, 0x51, 0x3D}};

#ifndef _WIN64
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == 28);
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 5);
#endif

namespace {

// Only the first ten present interfaces are looked at; the last of them is used.
constexpr DWORD MaxInterfacesEnumerated = 10;

bool FindLastInterface(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& found) {
    bool any = false;
    for (DWORD index = 0; index < MaxInterfacesEnumerated; ++index) {
        SP_DEVICE_INTERFACE_DATA data = {};
        data.cbSize = sizeof(data);
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &UnitInterfaceGuid, index, &data)) {
            if (GetLastError() != ERROR_NO_MORE_ITEMS) {
                return false;
            }
            break;
        }
        found = data;
        any = true;
    }
    return any;
}

HANDLE OpenInterface(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interfaceData) {
    DWORD requiredSize = 0;
    if (!SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, nullptr, 0, &requiredSize,
                                          nullptr) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return INVALID_HANDLE_VALUE;
    }
    // A size below the record's fixed part would have cbSize written past the block.
    if (requiredSize < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
        return INVALID_HANDLE_VALUE;
    }
    auto* detail =
        static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(GlobalAlloc(GMEM_FIXED, requiredSize));
    if (detail == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    HANDLE device = INVALID_HANDLE_VALUE;
    if (SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, requiredSize, &requiredSize,
                                         nullptr)) {
        device = CreateFileA(detail->DevicePath, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    GlobalFree(detail);
    return device;
}

BOOL ReadTransfer(HANDLE handle, TransferHeader header, unsigned length, std::uint8_t* buffer) {
    // Zero-filled, so that a short answer cannot hand stale heap bytes to the caller.
    auto* block = static_cast<std::uint8_t*>(
        GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, length + ReadPrefixSize));
    if (block == nullptr) {
        return FALSE;
    }
    DWORD bytesReturned = 0;
    const BOOL ok =
        DeviceIoControl(handle, UnitTransferIoctl, header.bytes, sizeof(header.bytes), block,
                        static_cast<DWORD>(GlobalSize(block)), &bytesReturned, nullptr);
    std::memcpy(buffer, block + ReadPrefixSize, length);
    GlobalFree(block);
    return ok;
}

BOOL WriteTransfer(HANDLE handle, const TransferHeader& header, unsigned length,
                   const std::uint8_t* buffer) {
    auto* block = static_cast<std::uint8_t*>(
        GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, length + TransferHeaderSize));
    if (block == nullptr) {
        return FALSE;
    }
    std::memcpy(block, header.bytes, TransferHeaderSize);
    std::memcpy(block + TransferHeaderSize, buffer, length);
    std::uint8_t reply[WriteReplySize];
    DWORD bytesReturned = 0;
    const BOOL ok =
        DeviceIoControl(handle, UnitTransferIoctl, block, static_cast<DWORD>(GlobalSize(block)),
                        reply, sizeof(reply), &bytesReturned, nullptr);
    GlobalFree(block);
    return ok;
}

} // namespace

HANDLE OpenUnitDevice() {
    HDEVINFO set = SetupDiGetClassDevsA(&UnitInterfaceGuid, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return INVALID_HANDLE_VALUE;
    }
    HANDLE device = INVALID_HANDLE_VALUE;
    SP_DEVICE_INTERFACE_DATA interfaceData = {};
    if (FindLastInterface(set, interfaceData)) {
        device = OpenInterface(set, interfaceData);
    }
    SetupDiDestroyDeviceInfoList(set);
    return device;
}

BOOL DriverTransfer(HANDLE handle, bool isRead, unsigned length, std::span<std::uint8_t> buffer) {
    if (IsInvalidHandle(handle) || length > buffer.size()) {
        return FALSE;
    }
    const unsigned dataLength = length & 0xFFFF;
    const TransferHeader header = MakeTransferHeader(isRead);
    return isRead ? ReadTransfer(handle, header, dataLength, buffer.data())
                  : WriteTransfer(handle, header, dataLength, buffer.data());
}

bool IsInvalidHandle(HANDLE handle) {
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

INT_PTR CloseDeviceHandle(HANDLE handle) {
    if (IsInvalidHandle(handle)) {
        return reinterpret_cast<INT_PTR>(handle);
    }
    return CloseHandle(handle);
}
