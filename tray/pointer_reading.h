#pragma once

#include <cstdint>

struct ScreenPoint {
    std::int32_t x;
    std::int32_t y;
};

// The pointer at one moment, as a tick of the volume drag or the popup menu reads it.
struct PointerReading {
    bool cursorKnown; // false while the secure desktop shows (locked screen, elevation prompt)
    ScreenPoint cursor;
    bool leftButtonDown; // the logical left button: the right one when the buttons are swapped
};

// Where the cursor is and whether the logical left button is held, read from the system now
// rather than from the icon's messages, which stop when the pointer leaves the icon.
PointerReading ReadPointer();

// What the volume drag and the popup menu read the pointer through: ReadPointer, unless a test
// puts a reading of its own here (the secure desktop, for one, cannot be shown under test).
extern PointerReading (*pointerReader)();
