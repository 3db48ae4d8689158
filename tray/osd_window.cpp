#include "tray/osd_window.h"

#include "tray/monitor_dpi.h"
#include "tray/osd_paint.h"
#include "tray/osd_placement.h"
#include "tray/system_library.h"
#include "tray/tray_state.h"
#include "tray/wide_text.h"

#include <shellapi.h>

#ifndef _WIN64
static_assert(sizeof(APPBARDATA) == 36 && sizeof(MONITORINFO) == 40 && sizeof(WNDCLASSEXW) == 48);
#endif

namespace {

constexpr wchar_t OsdClassName[] = L"Norvik Deckhand OSD";
constexpr wchar_t ShellTaskbarClass[] = L"Shell_TrayWnd";

// The display's own timers, on its own window: the hidden window takes any timer it does not
// know for its status refresh.
enum OsdTimer : UINT_PTR {
    HoldTimer = 1, // fully shown until it fires
    FadeTimer = 2, // one step of the fade
};
constexpr UINT HoldMs = 1500;
constexpr UINT FadeTickMs = 30;
constexpr BYTE Opaque = 255;
constexpr BYTE FadeStep = 32; // eight steps: a quarter of a second

using QueryNotificationState = HRESULT(WINAPI*)(int*);

// SHQueryUserNotificationState, from Windows Vista on: looked up at run time, so that the
// program starts on every Windows. 0 when it cannot be asked.
std::int32_t NotificationState() {
    const auto query = LookUp<QueryNotificationState>(GetModuleHandleW(L"shell32.dll"),
                                                      "SHQueryUserNotificationState");
    int state = 0;
    return query != nullptr && query(&state) == S_OK ? state : 0;
}

OsdRect ToOsdRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Where the shell's taskbar stands, on which monitor, at which DPI. Without a taskbar (a shell
// other than Explorer's, or none), the primary monitor.
TaskbarReading ReadTaskbar() {
    TaskbarReading reading = {};
    reading.edge = TaskbarEdge::NoTaskbar;
    APPBARDATA bar = {};
    bar.cbSize = sizeof(bar);
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar) != 0 && bar.uEdge <= ABE_BOTTOM) {
        reading.edge = static_cast<TaskbarEdge>(bar.uEdge);
        reading.taskbar = ToOsdRect(bar.rc);
        APPBARDATA state = {};
        state.cbSize = sizeof(state);
        reading.autoHide = (SHAppBarMessage(ABM_GETSTATE, &state) & ABS_AUTOHIDE) != 0;
    }
    HWND taskbar = FindWindowW(ShellTaskbarClass, nullptr);
    HMONITOR monitor = taskbar != nullptr ? MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)
                                          : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(monitor, &info);
    reading.monitor = ToOsdRect(info.rcMonitor);
    reading.work = ToOsdRect(info.rcWork);
    reading.dpi = MonitorDpiAt({(info.rcMonitor.left + info.rcMonitor.right) / 2,
                                (info.rcMonitor.top + info.rcMonitor.bottom) / 2});
    return reading;
}

void PlaceOnScreen(HWND window) {
    const TaskbarReading reading = ReadTaskbar();
    const OsdRect place = PlaceOsd(reading);
    trayState.osdDpi = OsdDpi(reading.dpi);
    SetWindowPos(window, HWND_TOPMOST, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE);
}

void SetOsdText(HWND window, const OsdContent& content) {
    char text[OsdTextSize];
    OsdText(content, text);
    wchar_t wide[OsdTextSize];
    WidenProgramText(text, wide);
    SetWindowTextW(window, wide);
}

void Paint(HWND window) {
    const OsdContent& content = trayState.osdContent;
    const bool lowerLine = content.barVolume != OsdNoBar || content.detail[0] != '\0';
    PaintOsd(window, LayoutOsd(trayState.osdDpi, lowerLine), content);
}

void StartFade(HWND window) {
    KillTimer(window, HoldTimer);
    trayState.osdAlpha = Opaque;
    SetTimer(window, FadeTimer, FadeTickMs, nullptr);
}

void FadeStepOut(HWND window) {
    trayState.osdAlpha = trayState.osdAlpha > FadeStep ? trayState.osdAlpha - FadeStep : 0;
    if (trayState.osdAlpha != 0) {
        SetLayeredWindowAttributes(window, 0, trayState.osdAlpha, LWA_ALPHA);
        return;
    }
    KillTimer(window, FadeTimer);
    ShowWindow(window, SW_HIDE);
}

void OnTimer(HWND window, UINT_PTR timer) {
    switch (timer) {
    case HoldTimer: StartFade(window); break;
    case FadeTimer: FadeStepOut(window); break;
    default: break;
    }
}

// Mouse input goes through to what lies below (WS_EX_TRANSPARENT), and a click that reaches it
// all the same does not activate it.
LRESULT CALLBACK OsdWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_TIMER: OnTimer(window, wParam); return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Topmost, never activated, no taskbar button, not in Alt+Tab, transparent to the mouse.
HWND CreateOsdWindow() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = OsdWindowProc;
    windowClass.hInstance = trayState.instance;
    windowClass.lpszClassName = OsdClassName;
    // Already registered when a window was made before (tests make one per hidden window).
    RegisterClassExW(&windowClass);
    trayState.osdWindow = CreateWindowExW(
        WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT,
        OsdClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, trayState.instance, nullptr);
    return trayState.osdWindow;
}

} // namespace

void ShowOnScreenDisplay(const OsdContent& content) {
    if (trayState.noOnScreenDisplay || content.value[0] == '\0') {
        return;
    }
    HWND window = trayState.osdWindow != nullptr ? trayState.osdWindow : CreateOsdWindow();
    if (window == nullptr) {
        return;
    }
    // Shown, it is updated in place; hidden, it shows again only where it may, and where the
    // taskbar stands now.
    const bool shown = IsWindowVisible(window) != FALSE;
    if (!shown && !OsdAllowedIn(NotificationState())) {
        return;
    }
    const bool changed = !shown || !(content == trayState.osdContent);
    trayState.osdContent = content;
    KillTimer(window, FadeTimer);
    SetTimer(window, HoldTimer, HoldMs, nullptr);
    SetLayeredWindowAttributes(window, 0, Opaque, LWA_ALPHA);
    if (changed) {
        SetOsdText(window, content);
        InvalidateRect(window, nullptr, FALSE);
    }
    if (!shown) {
        PlaceOnScreen(window);
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    // Drawn now rather than when the queue is next empty: a held key keeps it busy.
    UpdateWindow(window);
}

void DestroyOnScreenDisplay() {
    if (trayState.osdWindow != nullptr) {
        DestroyWindow(trayState.osdWindow);
        trayState.osdWindow = nullptr;
    }
}
