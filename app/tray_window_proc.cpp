#include "app/tray_window_proc.h"

#include "power/power_events.h"
#include "tray/context_menu.h"
#include "tray/tray_handlers.h"
#include "tray/tray_messages.h"
#include "unit/unit_link.h"

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Opened only by the handlers that need the unit; the destructor closes what is left open.
    UnitLink link;
    // The shell's value for the name is the same on every call, so it is not kept.
    if (message == RegisterWindowMessageA("TaskbarCreated")) {
        HandleTrayAdd();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CREATE: HandleCreate(window); break;
    case WM_DESTROY: HandleDestroy(); break;
    case WM_ENDSESSION: HandleSessionEnd(wParam, link); break;
    case WM_COMMAND: HandleMenuCommand(LOWORD(wParam), link); break;
    case WM_TIMER: HandleTimer(wParam, link); break;
    case WM_INITMENUPOPUP: PrepareMenu(reinterpret_cast<HMENU>(wParam)); break;
    case WM_POWERBROADCAST: HandlePowerBroadcast(wParam, link); break;
    case WM_HOTKEY: HandleHotkey(wParam, link); break;
    case WM_SETTINGCHANGE: HandleSettingChange(window, lParam); break;
    case WM_DISPLAYCHANGE:
    case DpiChangedMsg: HandleTaskbarChange(); break;
    case TrayCallbackMsg:
        if (HandleTrayCallback(lParam, link)) {
            return 1;
        }
        break;
    case TrayAddMsg: HandleTrayAdd(); break;
    case TrayRemoveMsg: HandleTrayRemove(); break;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
