#pragma once

#include "tray/volume_gesture.h"

// Where the cursor is and whether the logical left button is held, read from the system now
// rather than from the icon's messages, which stop when the pointer leaves the icon.
PointerReading ReadPointer();
