#pragma once

// The program's message boxes as the tests meet them: top-level dialogs of class #32770
// captioned "Norvik Deckhand". Shared by the Windows-side tests and deckprobe.

#include <windows.h>

#include <string>

// A visible box of process processId (of any process when 0), or null. A box counts once it is
// visible: before that its text may not be set yet.
HWND FindProgramBox(DWORD processId);
// Polls for such a box for up to timeoutMs; null when none came.
HWND WaitForProgramBox(DWORD processId, DWORD timeoutMs);
// The box's message as the box shows it, whatever the system's code page.
std::wstring ProgramBoxText(HWND box);
// Clicks OK and waits up to waitMs for the box to end; false when it is still there.
bool PressProgramBoxOk(HWND box, DWORD waitMs);
