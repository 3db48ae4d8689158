// deckprobe_menuhook.dll: deckprobe hooks the program's UI thread with it, so that Windows
// loads it into the program's process, where the popup menus can be read.

#include "tests/tools/deckprobe/menu_report.h"

#include <cstring>

namespace {

constexpr char PopupMenuClass[] = "#32768";

struct OpenPopups {
    int count;
    HWND windows[MaxReportPopups];
};

BOOL CALLBACK CollectPopup(HWND window, LPARAM context) {
    auto* popups = reinterpret_cast<OpenPopups*>(context);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, PopupMenuClass) == 0 && IsWindowVisible(window) &&
        popups->count < MaxReportPopups) {
        popups->windows[popups->count++] = window;
    }
    return TRUE;
}

void AddItems(MenuReport& report, HMENU menu, int popup) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count && report.itemCount < MaxReportItems; ++position) {
        MenuReportItem& item = report.items[report.itemCount++];
        // In UTF-16 as the menu holds it: read through the A function, the text would pass
        // through this process's code page.
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = item.text;
        info.cch = MaxReportText;
        GetMenuItemInfoW(menu, position, TRUE, &info);
        item.text[MaxReportText - 1] = L'\0';
        item.popup = popup;
        item.id = info.wID;
        item.type = info.fType;
        item.state = info.fState;
        item.opensSubmenu = info.hSubMenu != nullptr;
        item.rectKnown = GetMenuItemRect(nullptr, menu, position, &item.rect);
    }
}

void WriteReport(MenuReport& report) {
    OpenPopups popups = {};
    EnumThreadWindows(GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&popups));
    report.popupCount = 0;
    report.itemCount = 0;
    // Listed from the top of the window stack: the popup opened last comes first.
    for (int i = popups.count - 1; i >= 0; --i) {
        const HMENU menu =
            reinterpret_cast<HMENU>(SendMessageA(popups.windows[i], MN_GETHMENU, 0, 0));
        GetWindowRect(popups.windows[i], &report.popups[report.popupCount]);
        AddItems(report, menu, report.popupCount);
        ++report.popupCount;
    }
    const HWND foreground = GetForegroundWindow();
    report.foreground = foreground != nullptr &&
                        GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId();
    report.answered = TRUE;
}

void Answer() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, MenuReportMappingName);
    if (mapping == nullptr) {
        return;
    }
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(MenuReport));
    if (view != nullptr) {
        WriteReport(*static_cast<MenuReport*>(view));
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    DeckprobeMenuHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (message->message == RegisterWindowMessageA(MenuQueryMessageName)) {
            Answer();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
