#pragma once

#include <cstdint>

// Icon resource ids. The tray names a picture by its index, resource id minus 101.
enum IconResource : std::int32_t {
    AppIcon = 1,
    VolumeIconFirst = 10, // 10 + (v + 9) / 10 for volume v: 10 for 0 up to 18 for 71..80
    UnreachableIcon = 100,
    PowerOnIcon = 101,
    PowerOffIcon = 102,
    CdStopIcon = 111,
    CdPlayIcon = 112,
    CdPrevIcon = 113,
    CdNextIcon = 114,
};

constexpr std::int32_t IconIndexBase = 101;

constexpr std::int32_t IconIndexOf(IconResource resource) {
    return resource - IconIndexBase;
}

constexpr std::int32_t IconResourceOfIndex(std::int32_t iconIndex) {
    return (iconIndex + IconIndexBase) & 0xFFFF;
}

// Volume v (0..80) shows the staircase icon 10 + (v + 9) / 10.
constexpr std::int32_t VolumeIconIndex(std::int32_t volume) {
    return (volume + 9) / 10 - 91;
}
