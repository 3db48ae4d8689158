#include "tests/tools/deckprobe/message_boxes.h"

#include "tests/tools/deckprobe/utf8_output.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr const char* DialogClass = "#32770";
constexpr const char* ProgramCaption = "Norvik Deckhand";
// The static control that holds a message box's text.
constexpr int MessageTextId = 0xFFFF;
constexpr DWORD PollMs = 50;
constexpr DWORD CloseWaitMs = 3000;
constexpr unsigned DefaultTimeoutMs = 10000;

// A box counts once it is visible: before that its text may not be set yet.
HWND FindProgramBox() {
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, DialogClass, ProgramCaption)) != nullptr) {
        if (IsWindowVisible(box)) {
            return box;
        }
    }
    return nullptr;
}

HWND WaitForProgramBox(unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND box = FindProgramBox();
        if (box != nullptr) {
            return box;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        Sleep(PollMs);
    }
}

// The OK button's notification, as a click on it sends; the box then ends itself.
bool PressOk(HWND box) {
    HWND button = GetDlgItem(box, IDOK);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    const DWORD start = GetTickCount();
    while (IsWindow(box)) {
        if (GetTickCount() - start >= CloseWaitMs) {
            return false;
        }
        Sleep(PollMs);
    }
    return true;
}

bool PrintAndClose(HWND box) {
    char text[1024] = {};
    GetDlgItemTextA(box, MessageTextId, text, sizeof(text));
    if (!PrintCp932Line(text)) {
        std::fprintf(stderr, "deckprobe: the box's text is not CP932\n");
    }
    if (!PressOk(box)) {
        std::fprintf(stderr, "deckprobe: the box did not close after OK\n");
        return false;
    }
    return true;
}

} // namespace

ProbeExit RunWaitBox(ProbeArgs args) {
    unsigned timeoutMs = DefaultTimeoutMs;
    if (!TakeMillisecondsOption(args, "--timeout", timeoutMs) || args.count != 0) {
        return UsageError("wait-box takes only --timeout MS");
    }
    HWND box = WaitForProgramBox(timeoutMs);
    if (box == nullptr) {
        std::fprintf(stderr, "deckprobe: no message box within %u ms\n", timeoutMs);
        return ProbeNotFound;
    }
    return PrintAndClose(box) ? ProbeOk : ProbeNotFound;
}

ProbeExit RunNoBox(ProbeArgs args) {
    unsigned forMs = 0;
    if (!TakeMillisecondsOption(args, "--for", forMs) || args.count != 0 || forMs == 0) {
        return UsageError("no-box takes --for MS");
    }
    HWND box = WaitForProgramBox(forMs);
    if (box == nullptr) {
        return ProbeOk;
    }
    std::fprintf(stderr, "deckprobe: a message box appeared:\n");
    PrintAndClose(box);
    return ProbeNotFound;
}
