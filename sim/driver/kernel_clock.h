#pragma once

#include <stdint.h>

// Milliseconds from the performance counter. KeQuerySystemTime and KeQueryTickCount are macros
// over the kernel's shared page on x86_64, which does not exist inside Wine's winedevice.exe;
// KeQueryPerformanceCounter is a real export of hal.dll there and on Windows.
uint64_t KernelClockMs();
