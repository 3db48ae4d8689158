#pragma once

#include "tray/osd_content.h"

// The on-screen display: a small window over the notification area that shows what the program
// has just sent the unit, and fades out by itself. It never takes the focus or the mouse. Made
// the first time something is shown, and kept; nothing is shown with -n, for empty content, or
// while a full-screen program or a presentation runs.
void ShowOnScreenDisplay(const OsdContent& content);

// Ends the display's window with the hidden window.
void DestroyOnScreenDisplay();
