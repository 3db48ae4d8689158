#pragma once

#include <windows.h>

// The kernel service that drives the simulated units, and what it is called.
constexpr const char* SimServiceName = "norviksim";
constexpr const char* SimDriverPath = "C:\\windows\\system32\\drivers\\norviksim.sys";
// Instance ids are ROOT\NORVIKSIM\0000, \0001, ...
constexpr const char* SimHardwareId = "ROOT\\NORVIKSIM";

// Creates the demand-start kernel service for the driver; an existing one is fine.
// Returns ERROR_SUCCESS or the Win32 error.
DWORD InstallSimService();

// Creates and registers the root-enumerated device instance with the given number; one that
// exists already is left alone. Returns ERROR_SUCCESS or the Win32 error.
DWORD InstallSimDevice(unsigned instance);
