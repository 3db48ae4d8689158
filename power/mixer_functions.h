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

extern const MixerFunctions WinmmMixers;
extern const MixerFunctions* mixerFunctions; // WinmmMixers
