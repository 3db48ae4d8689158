#pragma once

#include <windows.h>

class UnitLink;

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

// What the hidden window does for the tray: the notification-area icon, its gestures, the
// hotkeys and the timers. The window procedure calls one handler per message; link is its own,
// unopened.
void HandleCreate(HWND window);
void HandleDestroy();
// TrayAddMsg and the shell's "TaskbarCreated": the icon's size and variant are chosen anew.
void HandleTrayAdd();
// WM_DISPLAYCHANGE and WM_DPICHANGED: the size and variant chosen anew, the picture shown now
// shown again in them.
void HandleTaskbarChange();
// WM_SETTINGCHANGE: as HandleTaskbarChange when the taskbar's colours changed
// ("ImmersiveColorSet").
void HandleSettingChange(HWND window, LPARAM setting);
void HandleTrayRemove();
void HandleTimer(UINT_PTR timer, UnitLink& link);
void HandleHotkey(WPARAM hotkey, UnitLink& link);
// False when the program runs without an icon: the message then goes on untouched.
bool HandleTrayCallback(LPARAM mouseMessage, UnitLink& link);
