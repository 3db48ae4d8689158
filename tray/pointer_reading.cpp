#include "tray/pointer_reading.h"

#include <windows.h>

namespace {

// GetAsyncKeyState's high bit: the key or button is down now.
constexpr int KeyDownBit = 0x8000;

} // namespace

PointerReading (*pointerReader)() = ReadPointer;

PointerReading ReadPointer() {
    PointerReading pointer = {};
    POINT cursor;
    pointer.cursorKnown = GetCursorPos(&cursor) != FALSE;
    if (pointer.cursorKnown) {
        pointer.cursor = {cursor.x, cursor.y};
    }
    // GetAsyncKeyState reads the physical buttons: with swapped buttons the logical left one is
    // the physical right one.
    const int leftKey = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    pointer.leftButtonDown = (GetAsyncKeyState(leftKey) & KeyDownBit) != 0;
    return pointer;
}
