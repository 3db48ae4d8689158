#pragma once

#include <windows.h>

// Every command the driver accepted is followed by this pause, so that commands reach the unit
// at most once per 50 ms.
constexpr DWORD CommandPauseMs = 50;

// Blocks the thread for CommandPauseMs. In a library of its own (unit_pause), so that a test
// program can define it again and count the pauses instead of timing them.
void PauseAfterCommand();
