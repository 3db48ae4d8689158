#include "tests/tools/deckprobe/mouse.h"

#include "tests/tools/input_events/input_events.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct Button {
    const char* name;
    DWORD downFlag;
    DWORD upFlag;
};

constexpr Button Buttons[] = {
    {"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
    {"middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP},
    {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
};

// Long enough for the window under the cursor to see the move before the press, short
// enough that two clicks stay a double click.
constexpr DWORD SettleMs = 60;
constexpr DWORD ButtonHoldMs = 40;
constexpr DWORD StepMs = 20;
// Held still at the end of a drag before letting go, longer than the program's 100 ms drag
// tick, so that the end position is what the drag leaves behind.
constexpr DWORD DragRestMs = 300;
constexpr int DefaultDragMs = 600;

const Button* FindButton(const char* name) {
    for (const Button& button : Buttons) {
        if (std::strcmp(button.name, name) == 0) {
            return &button;
        }
    }
    return nullptr;
}

bool ParsePoint(const ProbeArgs& args, int first, POINT& point) {
    int x = 0;
    int y = 0;
    if (first + 1 >= args.count || !ParseInt(args.values[first], x) ||
        !ParseInt(args.values[first + 1], y)) {
        return false;
    }
    point.x = x;
    point.y = y;
    return true;
}

// Positions exactly: SendInput's absolute coordinates are scaled to 0..65535 and back, which
// can land a pixel off.
bool MoveTo(POINT point) {
    if (!SetCursorPos(point.x, point.y)) {
        std::fprintf(stderr, "deckprobe: SetCursorPos failed (error %lu)\n", GetLastError());
        return false;
    }
    return true;
}

// A button event at the cursor's position: no MOUSEEVENTF_MOVE, so nothing is rescaled. A time
// of 0 lets the system stamp the event when it arrives.
bool SendButton(DWORD flag, DWORD time = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    input.mi.time = time;
    return SendOneInput(input);
}

// With startTime, the press and the release are stamped startTime and startTime + the hold.
bool Click(const Button& button, DWORD startTime = 0) {
    if (!SendButton(button.downFlag, startTime)) {
        return false;
    }
    Sleep(ButtonHoldMs);
    const bool released = SendButton(button.upFlag, startTime == 0 ? 0 : startTime + ButtonHoldMs);
    Sleep(ButtonHoldMs);
    return released;
}

} // namespace

bool LeftClickAt(POINT point) {
    if (!MoveTo(point)) {
        return false;
    }
    Sleep(SettleMs);
    return Click(Buttons[0]);
}

ProbeExit RunMove(ProbeArgs args) {
    POINT point;
    if (args.count != 2 || !ParsePoint(args, 0, point)) {
        return UsageError("move takes X Y");
    }
    return MoveTo(point) ? ProbeOk : ProbeNotFound;
}

ProbeExit RunClick(ProbeArgs args) {
    POINT point;
    const Button* button = &Buttons[0];
    if ((args.count != 2 && args.count != 3) || !ParsePoint(args, 0, point) ||
        (args.count == 3 && (button = FindButton(args.values[2])) == nullptr)) {
        return UsageError("click takes X Y [left|middle|right]");
    }
    if (!MoveTo(point)) {
        return ProbeNotFound;
    }
    Sleep(SettleMs);
    return Click(*button) ? ProbeOk : ProbeNotFound;
}

ProbeExit RunDoubleClick(ProbeArgs args) {
    POINT point;
    if (args.count != 2 || !ParsePoint(args, 0, point)) {
        return UsageError("dblclick takes X Y");
    }
    if (!MoveTo(point)) {
        return ProbeNotFound;
    }
    Sleep(SettleMs);
    // Double clicks are told by the events' times, not by when they arrive: stamped, the two
    // clicks stay one double click even when this process is held up between them.
    const DWORD start = GetTickCount();
    return Click(Buttons[0], start) && Click(Buttons[0], start + 2 * ButtonHoldMs) ? ProbeOk
                                                                                   : ProbeNotFound;
}

ProbeExit RunDrag(ProbeArgs args) {
    POINT from;
    POINT by;
    int durationMs = DefaultDragMs;
    const bool hold = TakeFlag(args, "--hold");
    if ((args.count != 4 && args.count != 5) || !ParsePoint(args, 0, from) ||
        !ParsePoint(args, 2, by) ||
        (args.count == 5 && (!ParseInt(args.values[4], durationMs) || durationMs < 0))) {
        return UsageError("drag takes X Y DX DY [MS]");
    }
    if (!MoveTo(from)) {
        return ProbeNotFound;
    }
    Sleep(SettleMs);
    if (!SendButton(MOUSEEVENTF_LEFTDOWN)) {
        return ProbeNotFound;
    }
    const int steps = std::max(1, durationMs / static_cast<int>(StepMs));
    bool moved = true;
    for (int i = 1; i <= steps && moved; ++i) {
        Sleep(StepMs);
        const POINT at = {from.x + by.x * i / steps, from.y + by.y * i / steps};
        moved = MoveTo(at);
    }
    if (hold) {
        return moved ? ProbeOk : ProbeNotFound;
    }
    Sleep(DragRestMs);
    const bool released = SendButton(MOUSEEVENTF_LEFTUP);
    return moved && released ? ProbeOk : ProbeNotFound;
}

ProbeExit RunRelease(ProbeArgs args) {
    if (args.count != 0) {
        return UsageError("release takes no arguments");
    }
    return SendButton(MOUSEEVENTF_LEFTUP) ? ProbeOk : ProbeNotFound;
}
