// unitpanel: the simulated Norvik unit's front panel, live.
//
//     unitpanel [--instance N] [--at X Y]
//
// Shows unit N (default 0) of the simulated driver: its display, the commands that reach it
// and its keys. Exit code 0 when the window is closed, 1 for wrong arguments or no window.

#include "sim/control_protocol.h"
#include "sim/unitpanel/panel_window.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int ExitDone = 0;
constexpr int ExitFailed = 1;
constexpr char Usage[] = "usage: unitpanel [--instance N] [--at X Y]\n\n"
                         "N: the simulated unit's instance number, 0 to 15 (default 0)\n"
                         "X Y: the window's top-left corner on the screen";

bool ParseNumber(const char* text, long min, long max, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= min && value <= max && std::strlen(text) < 9;
}

bool ParseOptions(int argc, char** argv, PanelOptions& options) {
    options = {};
    for (int i = 1; i < argc; ++i) {
        long value = 0;
        long y = 0;
        if (std::strcmp(argv[i], "--instance") == 0 && i + 1 < argc &&
            ParseNumber(argv[i + 1], 0, SimMaxInstances - 1, value)) {
            options.instance = static_cast<unsigned>(value);
            i += 1;
        } else if (std::strcmp(argv[i], "--at") == 0 && i + 2 < argc &&
                   ParseNumber(argv[i + 1], -100000, 100000, value) &&
                   ParseNumber(argv[i + 2], -100000, 100000, y)) {
            options.placed = true;
            options.x = static_cast<int>(value);
            options.y = static_cast<int>(y);
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    PanelOptions options;
    if (!ParseOptions(__argc, __argv, options)) {
        MessageBoxA(nullptr, Usage, "unitpanel", MB_OK | MB_ICONERROR);
        return ExitFailed;
    }
    if (!RegisterPanelClass(instance)) {
        return ExitFailed;
    }
    HWND window = CreatePanelWindow(instance, options);
    if (window == nullptr) {
        return ExitFailed;
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    const int code = RunPanelMessageLoop(window);
    return code == 0 ? ExitDone : ExitFailed;
}
