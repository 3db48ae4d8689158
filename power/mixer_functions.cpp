#include "power/mixer_functions.h"

const MixerFunctions WinmmMixers = {
    mixerGetNumDevs,
    mixerOpen,
    mixerGetLineInfoA,
    mixerGetLineControlsA,
    mixerGetControlDetailsA,
    mixerSetControlDetails,
    mixerClose,
};

const MixerFunctions* mixerFunctions = &WinmmMixers;
