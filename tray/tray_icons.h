#pragma once

#include "res/resource_ids.h"

#include <cstdint>

// Icon resource ids. The tray names a picture by its index: the picture of a unit that is on
// has index 0, and every other is counted from it.
enum IconResource : std::int32_t {
    AppIcon = IDI_APP,
    // IDI_VOLUME_STEP_0 + (v + 9) / 10 for volume v: step 0 for 0 up to step 8 for 71..80
    VolumeIconFirst = IDI_VOLUME_STEP_0,
    UnreachableIcon = IDI_UNREACHABLE,
    PowerOnIcon = IDI_POWER_ON,
    PowerOffIcon = IDI_POWER_OFF,
    CdStopIcon = IDI_CD_STOP,
    CdPlayIcon = IDI_CD_PLAY,
    CdPrevIcon = IDI_CD_PREV,
    CdNextIcon = IDI_CD_NEXT,
};
static_assert(IDI_VOLUME_STEP_8 == VolumeIconFirst + 8,
              "the volume pictures are numbered in a row");

constexpr std::int32_t IconIndexBase = PowerOnIcon;

constexpr std::int32_t IconIndexOf(IconResource resource) {
    return resource - IconIndexBase;
}

constexpr std::int32_t IconResourceOfIndex(std::int32_t iconIndex) {
    return (iconIndex + IconIndexBase) & 0xFFFF;
}

// Volume v (0..80) shows the staircase icon VolumeIconFirst + (v + 9) / 10.
constexpr std::int32_t VolumeIconIndex(std::int32_t volume) {
    return IconIndexOf(VolumeIconFirst) + (volume + 9) / 10;
}
