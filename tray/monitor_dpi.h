#pragma once

#include "tray/pointer_reading.h"

#include <cstdint>

// The DPI of the monitor at point, in the pixels this program's cursor positions are counted in
// (the program is per-monitor DPI aware where Windows can be); the system DPI where Windows has
// no DPI per monitor; 0 when Windows says neither.
std::uint32_t MonitorDpiAt(ScreenPoint point);
