#include "power/power_decisions.h"

#include <algorithm>

namespace {

// The WM_POWERBROADCAST codes PBT_APMSUSPEND and PBT_APMRESUMESUSPEND.
constexpr std::uintptr_t ApmSuspend = 4;
constexpr std::uintptr_t ApmResumeSuspend = 7;

} // namespace

PowerEvent PowerEventOf(std::uintptr_t powerBroadcastParam) {
    switch (powerBroadcastParam) {
    case ApmSuspend: return PowerEvent::Suspend;
    case ApmResumeSuspend: return PowerEvent::Resume;
    default: return PowerEvent::None;
    }
}

bool PowerOffAtSessionEnd(bool sessionEnds, bool keepPowerAtSessionEnd) {
    return sessionEnds && !keepPowerAtSessionEnd;
}

std::int32_t MixerSlotsInUse(std::int32_t mixerCount) {
    return std::clamp(mixerCount, 0, MixerSlotCount);
}

RestoreWrites RestoreWritesFor(std::uint32_t savedValue) {
    if (savedValue == 0) {
        return {1, 0};
    }
    return {savedValue - 1, savedValue};
}
