#pragma once

#include <windows.h>

// The hidden window's procedure: one line per message, each handed to the tray's handlers, the
// popup menu's or the power events'.
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
