#pragma once

#include "power/mixer_arithmetic.h"

#include <cstddef>
#include <cstdint>
#include <new>

// The master volume of every sound mixer: the volume control of each mixer's speakers line,
// found once when the snapshot is made, read at every save and written back at every restore.
// Mixers are known by their device index, which is also their slot. No mixer handle is held
// between calls: every operation opens and closes each mixer itself.
class MixerVolumeSnapshot {
public:
    MixerVolumeSnapshot();
    virtual ~MixerVolumeSnapshot() = default;
    MixerVolumeSnapshot(const MixerVolumeSnapshot&) = delete;
    MixerVolumeSnapshot& operator=(const MixerVolumeSnapshot&) = delete;

    // Made only with new (std::nothrow), null when there is no memory. The program is built
    // without exceptions; the library's own nothrow new would bring in their whole runtime
    // (some 140 KB).
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* snapshot) noexcept;

    void SaveVolumes();
    // Writes back only what the last save read.
    void RestoreVolumes();

    std::int32_t mixerCount = 0; // as the system reported it when the snapshot was made
    std::uint32_t controlIds[MixerSlotCount] = {};  // 0 when none was found
    std::uint32_t savedValues[MixerSlotCount] = {}; // 0 until the first save
    // 0 is a real control id on some mixers, so whether one was found is kept apart.
    bool volumeFound[MixerSlotCount] = {};
    bool saved[MixerSlotCount] = {}; // by the last save
};
