#include "power/mixer_functions.h"

#include "tray/system_library.h"

namespace {

// Kept, with winmm itself, for the rest of the process once filled, as an import would be.
MixerFunctions winmmMixers;

bool LookUpAll(HMODULE winmm, MixerFunctions& table) {
    table.getNumDevs = LookUp<decltype(table.getNumDevs)>(winmm, "mixerGetNumDevs");
    table.open = LookUp<decltype(table.open)>(winmm, "mixerOpen");
    table.getLineInfo = LookUp<decltype(table.getLineInfo)>(winmm, "mixerGetLineInfoA");
    table.getLineControls = LookUp<decltype(table.getLineControls)>(winmm, "mixerGetLineControlsA");
    table.getControlDetails =
        LookUp<decltype(table.getControlDetails)>(winmm, "mixerGetControlDetailsA");
    table.setControlDetails =
        LookUp<decltype(table.setControlDetails)>(winmm, "mixerSetControlDetails");
    table.close = LookUp<decltype(table.close)>(winmm, "mixerClose");
    return table.getNumDevs != nullptr && table.open != nullptr && table.getLineInfo != nullptr &&
           table.getLineControls != nullptr && table.getControlDetails != nullptr &&
           table.setControlDetails != nullptr && table.close != nullptr;
}

} // namespace

const MixerFunctions* mixerFunctions = nullptr;

const MixerFunctions* LoadMixerFunctions() {
    if (mixerFunctions != nullptr) {
        return mixerFunctions;
    }
    HMODULE winmm = LoadSystemLibrary(L"winmm.dll");
    if (winmm != nullptr && LookUpAll(winmm, winmmMixers)) {
        mixerFunctions = &winmmMixers;
    } else if (winmm != nullptr) {
        FreeLibrary(winmm);
    }
    return mixerFunctions;
}
