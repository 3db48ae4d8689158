#include "tests/tools/program_boxes/program_boxes.h"

#include "tray/program_name.h"

namespace {

constexpr char DialogClass[] = "#32770";
// The static control that holds a message box's text.
constexpr int MessageTextId = 0xFFFF;
constexpr DWORD PollMs = 50;
constexpr DWORD ClickAgainMs = 1000;

} // namespace

HWND FindProgramBox(DWORD processId) {
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, DialogClass, ProgramName)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (IsWindowVisible(box) && (processId == 0 || owner == processId)) {
            return box;
        }
    }
    return nullptr;
}

HWND WaitForProgramBox(DWORD processId, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND box = FindProgramBox(processId)) {
            return box;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        Sleep(PollMs);
    }
}

std::wstring ProgramBoxText(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, MessageTextId, text, 1024);
    return text;
}

bool PressProgramBoxOk(HWND box, DWORD waitMs) {
    // The OK button's notification, as a click on it sends; the box then ends itself. Sent again
    // each second while the box stays: on a busy machine a box can be visible before its modal
    // loop takes messages, and one click was seen to go unanswered.
    HWND button = GetDlgItem(box, IDOK);
    const DWORD start = GetTickCount();
    DWORD clicked = start - ClickAgainMs;
    while (IsWindow(box)) {
        const DWORD now = GetTickCount();
        if (now - start >= waitMs) {
            return false;
        }
        if (now - clicked >= ClickAgainMs) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            clicked = now;
        }
        Sleep(PollMs);
    }
    return true;
}
