#pragma once

#include <windows.h>

// The performance counter in milliseconds. Under Wine it is Linux's CLOCK_MONOTONIC_RAW, the
// clock of the simulated unit's log as well, so scripts/bench sets the two side by side.
inline double CounterMs() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}
