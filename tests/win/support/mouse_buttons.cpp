#include "support/mouse_buttons.h"

#include "tests/tools/input_events/input_events.h"

namespace {

// SendInput's absolute scale is 0..65535 over the screen; rounded up, the coordinate maps back
// to the same pixel.
LONG AbsoluteCoordinate(LONG pixel, int screenSize) {
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screenSize - 1) / screenSize);
}

// With the cursor's own position: a button event without one may move Wine's idea of the cursor.
bool SendButtonEvent(DWORD flag) {
    POINT cursor;
    if (!GetCursorPos(&cursor)) {
        return false;
    }
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = AbsoluteCoordinate(cursor.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = AbsoluteCoordinate(cursor.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flag | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return SendOneInput(input);
}

} // namespace

HeldMouseButton::HeldMouseButton(Button button) : button_(button) {
    held_ = SendButtonEvent(button_ == Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
}

HeldMouseButton::~HeldMouseButton() {
    if (held_) {
        SendButtonEvent(button_ == Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
    }
}
