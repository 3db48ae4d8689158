#include "power/power_events.h"

#include "power/mixer_functions.h"
#include "power/mixer_volume_snapshot.h"
#include "power/power_decisions.h"
#include "tray/status_refresh.h"
#include "tray/tray_state.h"
#include "unit/unit_link.h"

#include <new>

namespace {

// Made at the first suspend or resume and kept until the program ends. When there is no memory
// for it, or winmm cannot be loaded, this notification goes on without the mixers and the next
// one tries again: the unit still follows the PC, only the volumes are not kept.
MixerVolumeSnapshot* Snapshot() {
    if (trayState.mixerSnapshot == nullptr && LoadMixerFunctions() != nullptr) {
        trayState.mixerSnapshot = new (std::nothrow) MixerVolumeSnapshot;
    }
    return trayState.mixerSnapshot;
}

} // namespace

void HandlePowerBroadcast(WPARAM event, UnitLink& link) {
    switch (PowerEventOf(event)) {
    case PowerEvent::Suspend: HandleSuspend(link); break;
    case PowerEvent::Resume: HandleResume(link); break;
    case PowerEvent::None: break;
    }
}

void HandleSuspend(UnitLink& link) {
    MixerVolumeSnapshot* snapshot = Snapshot();
    if (snapshot != nullptr) {
        snapshot->SaveVolumes();
    }
    link.SetPower(PowerWantedOff);
    StatusRefresh();
}

void HandleResume(UnitLink& link) {
    MixerVolumeSnapshot* snapshot = Snapshot();
    link.SetPower(PowerWantedOn);
    StatusRefresh();
    if (snapshot != nullptr) {
        snapshot->RestoreVolumes();
    }
}

void HandleSessionEnd(WPARAM sessionEnds, UnitLink& link) {
    if (PowerOffAtSessionEnd(sessionEnds != FALSE, trayState.keepPowerAtSessionEnd)) {
        link.SetPower(PowerWantedOff);
    }
}

void DeleteMixerSnapshot() {
    delete trayState.mixerSnapshot;
    trayState.mixerSnapshot = nullptr;
}
