#pragma once

#include "tests/tools/deckprobe/probe_args.h"

#include <windows.h>

// theme light|dark: sets the taskbar's theme as Windows 10 does (SystemUsesLightTheme under
// HKCU\...\Themes\Personalize) and broadcasts WM_SETTINGCHANGE "ImmersiveColorSet"; prints
// how many ms every top-level window took to handle the broadcast.
ProbeExit RunTheme(ProbeArgs args);

// Turns the taskbar's theme from light to dark or back (light first) and tells window, as
// Windows would; false when it cannot.
bool SwitchTheme(HWND window);
