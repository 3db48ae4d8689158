#pragma once

#include <cstdint>

// What the resident copy does with the PC's power and session notifications, and which mixer
// writes give a saved master volume back.

// The power notifications acted on. Only the suspend and the resume from it are: the resume
// after a critical suspend, the automatic resume and the suspend query are not.
enum class PowerEvent { None, Suspend, Resume };
PowerEvent PowerEventOf(std::uintptr_t powerBroadcastParam);

// A cancelled session end leaves the unit alone: the user goes on working.
bool PowerOffAtSessionEnd(bool sessionEnds, bool keepPowerAtSessionEnd);

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
