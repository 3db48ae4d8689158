#pragma once

// The Win32 side of the road to the unit's driver: finding it, opening it, one control code.

#include <windows.h>

#include <cstdint>
#include <span>

extern const GUID UnitInterfaceGuid;

// CTL_CODE(FILE_DEVICE_UNKNOWN, 0x804, METHOD_BUFFERED, FILE_ANY_ACCESS): no access rights are
// asked for, so the device is opened with an access mask of 0.
constexpr DWORD UnitTransferIoctl = 0x222010;

// The last of the first ten present interfaces of the unit's class, opened; or
// INVALID_HANDLE_VALUE.
HANDLE OpenUnitDevice();

// One exchange of length bytes through UnitTransferIoctl. A read fills buffer with the data that
// follow the driver's 8-byte prefix; a write sends them from buffer. A length beyond the buffer
// is refused without a call: it would read or write past the caller's bytes. Of a length that
// fits, only the low 16 bits count.
BOOL DriverTransfer(HANDLE handle, bool isRead, unsigned length, std::span<std::uint8_t> buffer);

bool IsInvalidHandle(HANDLE handle);

// CloseHandle's result, or the handle itself when there was nothing to close.
INT_PTR CloseDeviceHandle(HANDLE handle);
