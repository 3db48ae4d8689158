#include "support/message_boxes.h"

#include "tray/program_name.h"

namespace {

constexpr int MessageTextId = 0xFFFF;

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    char className[32] = "";
    char caption[64] = "";
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, caption, sizeof(caption));
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (std::string(className) == "#32770" && std::string(caption) == ProgramName &&
        IsWindowVisible(window) && (search->processId == 0 || owner == search->processId)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool WaitForMessageBox(DWORD processId, DWORD timeoutMs, MessageBoxSeen& box) {
    const DWORD start = GetTickCount();
    do {
        Search search = {processId, nullptr};
        EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            char text[256] = "";
            GetDlgItemTextA(search.found, MessageTextId, text, sizeof(text));
            box.window = search.found;
            box.text = text;
            // The icon is a static control showing a system icon; its id is 0x14 in Wine and
            // Windows alike, but the only reliable tell is the sound-less style: compare icons.
            HICON shown =
                reinterpret_cast<HICON>(SendDlgItemMessageA(search.found, 0x14, STM_GETICON, 0, 0));
            box.error = shown != nullptr && shown == LoadIconA(nullptr, IDI_HAND);
            return true;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

void DismissMessageBox(const MessageBoxSeen& box) {
    PostMessageA(box.window, WM_COMMAND, IDOK, 0);
}
