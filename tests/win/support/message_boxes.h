#pragma once

#include <windows.h>

#include <string>

// A message box of the program: a dialog of class #32770 captioned "Norvik Deckhand".
struct MessageBoxSeen {
    HWND window = nullptr;
    std::string text;   // CP932, as the program wrote it
    bool error = false; // the error icon (not the warning icon)
};

// Waits up to timeoutMs for a message box of process processId (any process when 0).
bool WaitForMessageBox(DWORD processId, DWORD timeoutMs, MessageBoxSeen& box);

// Presses OK on the box.
void DismissMessageBox(const MessageBoxSeen& box);
