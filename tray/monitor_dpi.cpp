#include "tray/monitor_dpi.h"

#include "tray/system_library.h"

#include <windows.h>

namespace {

// MDT_EFFECTIVE_DPI: the scale the user set for the monitor.
constexpr int EffectiveDpi = 0;

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDeviceCapsFunction = int(WINAPI*)(HDC, int);

// Windows 8.1 and later. The answer follows the program's DPI awareness as its cursor positions
// do: per monitor, or the system DPI where that awareness is not available.
std::uint32_t DpiOfMonitor(ScreenPoint point) {
    // Looked up at run time rather than imported, so that the program starts on every Windows.
    HMODULE shcore = LoadSystemLibrary(L"shcore.dll");
    const auto getDpiForMonitor = LookUp<GetDpiForMonitorFunction>(shcore, "GetDpiForMonitor");
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (getDpiForMonitor != nullptr) {
        HMONITOR monitor = MonitorFromPoint({point.x, point.y}, MONITOR_DEFAULTTONEAREST);
        if (getDpiForMonitor(monitor, EffectiveDpi, &dpiX, &dpiY) != S_OK) {
            dpiX = 0;
        }
    }
    if (shcore != nullptr) {
        FreeLibrary(shcore);
    }
    return dpiX;
}

// Every Windows: the screen's DPI. gdi32 is loaded in every GUI process, by user32.
std::uint32_t SystemDpi() {
    const auto getDeviceCaps =
        LookUp<GetDeviceCapsFunction>(GetModuleHandleA("gdi32.dll"), "GetDeviceCaps");
    if (getDeviceCaps == nullptr) {
        return 0;
    }
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return 0;
    }
    const int dpi = getDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<std::uint32_t>(dpi) : 0;
}

} // namespace

std::uint32_t MonitorDpiAt(ScreenPoint point) {
    const std::uint32_t dpi = DpiOfMonitor(point);
    return dpi != 0 ? dpi : SystemDpi();
}
