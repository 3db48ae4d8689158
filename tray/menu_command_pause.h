#pragma once

#include <windows.h>

// After a menu command the unit gets this long to act on it before the refresh reads its status.
constexpr DWORD MenuCommandPauseMs = 100;

// Blocks the thread for MenuCommandPauseMs. In a library of its own (tray_menu_pause), so that a
// test program can define it again and count the pauses instead of timing them.
void PauseBeforeMenuRefresh();
