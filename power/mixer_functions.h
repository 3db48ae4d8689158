#pragma once

#include <windows.h>

#include <mmsystem.h>

// The multimedia mixer calls that the volume snapshot makes, reached through one table so that
// the Windows-side tests can put mixers of their own behind it. The program uses winmm's.
struct MixerFunctions {
    UINT(WINAPI* getNumDevs)();
    MMRESULT(WINAPI* open)
    (LPHMIXER mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
    MMRESULT(WINAPI* getLineInfo)(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags);
    MMRESULT(WINAPI* getLineControls)(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags);
    MMRESULT(WINAPI* getControlDetails)
    (HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
    MMRESULT(WINAPI* setControlDetails)
    (HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
    MMRESULT(WINAPI* close)(HMIXER mixer);
};

// The table in use: null until LoadMixerFunctions has found winmm's, or mixers that a test put
// here.
extern const MixerFunctions* mixerFunctions;

// mixerFunctions, filled at the first call with winmm's own, from the winmm.dll of the system
// folder; null while that cannot be loaded. The program does not import winmm: Windows does not
// count it among the DLLs it always takes from the system folder, so an import would be looked
// for beside the program first.
const MixerFunctions* LoadMixerFunctions();
