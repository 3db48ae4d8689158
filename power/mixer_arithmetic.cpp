#include "power/mixer_arithmetic.h"

#include <algorithm>

std::int32_t MixerSlotsInUse(std::int32_t mixerCount) {
    return std::clamp(mixerCount, 0, MixerSlotCount);
}

RestoreWrites RestoreWritesFor(std::uint32_t savedValue) {
    if (savedValue == 0) {
        return {1, 0};
    }
    return {savedValue - 1, savedValue};
}
