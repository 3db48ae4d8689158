#pragma once

#include <cstdint>

// Which mixers the volume snapshot serves, and which writes give a saved master volume back.

// The snapshot has room for this many mixers; mixers past the last slot are left alone.
constexpr std::int32_t MixerSlotCount = 100;
std::int32_t MixerSlotsInUse(std::int32_t mixerCount);

// A saved volume goes back in two writes, the first one step off the value so that the second
// is a change the mixer cannot skip. The step is taken upwards from 0: 0 - 1 would be full
// volume.
struct RestoreWrites {
    std::uint32_t first;
    std::uint32_t second;
};
RestoreWrites RestoreWritesFor(std::uint32_t savedValue);
