#include "tray/taskbar_facts.h"

#include "tray/monitor_dpi.h"
#include "tray/system_library.h"

#include <windows.h>

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

// Windows 10 1607 and later; looked up at run time, so that the program starts on every Windows.
template <typename Function> Function LookUpInUser32(const char* name) {
    return LookUp<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// The taskbar's DPI: its window's, else its monitor's (the primary one's when there is no
// taskbar yet, where it is put by default).
std::uint32_t TaskbarDpi() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    ScreenPoint where = {0, 0};
    if (taskbar != nullptr) {
        const auto getDpiForWindow = LookUpInUser32<GetDpiForWindowFunction>("GetDpiForWindow");
        const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(taskbar) : 0;
        if (dpi != 0) {
            return dpi;
        }
        RECT bounds;
        if (GetWindowRect(taskbar, &bounds)) {
            where = {bounds.left + (bounds.right - bounds.left) / 2,
                     bounds.top + (bounds.bottom - bounds.top) / 2};
        }
    }
    return MonitorDpiAt(where);
}

// SystemUsesLightTheme: absent before Windows 10 1903.
void ReadTheme(TaskbarFacts& facts) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    facts.themeRead = RegQueryValueExW(key, L"SystemUsesLightTheme", nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &bytes) == ERROR_SUCCESS;
    facts.themeType = type;
    facts.themeBytes = bytes;
    facts.themeValue = value;
    RegCloseKey(key);
}

} // namespace

TaskbarFacts ReadTaskbarFacts() {
    TaskbarFacts facts = {};
    facts.smallIcon = GetSystemMetrics(SM_CXSMICON);
    const auto metricsForDpi =
        LookUpInUser32<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (metricsForDpi != nullptr) {
        facts.dpi = TaskbarDpi();
        if (facts.dpi != 0) {
            facts.smallIconAtDpi = metricsForDpi(SM_CXSMICON, facts.dpi);
        }
    }
    ReadTheme(facts);
    return facts;
}
