#pragma once

// The front panel's window: the display, the strip of commands under it and the keys, kept up
// to date from the unit several times a second.

#include <windows.h>

struct PanelOptions {
    unsigned instance; // which simulated unit
    bool placed;       // x and y give the window's top-left corner on the screen
    int x;
    int y;
};

bool RegisterPanelClass(HINSTANCE instance);
HWND CreatePanelWindow(HINSTANCE instance, const PanelOptions& options);
// Until the window is closed; the keyboard works the keys as in a dialog (Tab, access keys,
// space and Enter). Returns the exit code.
int RunPanelMessageLoop(HWND window);
