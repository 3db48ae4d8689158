#pragma once

#include <windows.h>

// The hidden window that carries the icon, the hotkeys and the timers; never shown.
bool RegisterTrayWindowClass(HINSTANCE instance);
HWND CreateTrayWindow(HINSTANCE instance);

// Dispatches messages until WM_QUIT.
void RunMessageLoop();
