#include "power/power_decisions.h"

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
