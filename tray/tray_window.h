#pragma once

#include <windows.h>

// Window timers of the hidden window; they arrive as WM_TIMER.
enum TrayTimer : UINT_PTR {
    RefreshTimer = 0,   // 5 s status refresh
    VolumeUpTimer = 11, // one volume step, 100 ms after the hotkey
    VolumeDownTimer = 12,
    DragTimer = 50, // 100 ms tick of the volume drag
};

// System-wide hotkeys, all with Ctrl+Alt.
enum TrayHotkey : int {
    HotkeyVolumeUp = 1,    // Up
    HotkeyVolumeDown = 2,  // Down
    HotkeyCdPlayStop = 10, // Numpad 5
    HotkeyCdPrev = 11,     // Numpad 4
    HotkeyCdNext = 12,     // Numpad 6
};

// The hidden window's procedure: the notification-area icon, its gestures, the hotkeys and the
// timers.
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
