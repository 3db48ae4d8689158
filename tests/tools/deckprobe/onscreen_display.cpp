#include "tests/tools/deckprobe/onscreen_display.h"

#include "tests/tools/counter_ms.h"
#include "tests/tools/deckprobe/keyboard.h"
#include "tests/tools/deckprobe/mouse.h"
#include "tray/dot_matrix_paint.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <utility>

namespace {

constexpr wchar_t DisplayClassName[] = L"Norvik Deckhand OSD";
constexpr unsigned DefaultTimeoutMs = 3000;
// Long enough to tell how long a display that should fade within two seconds stays.
constexpr unsigned GoneTimeoutMs = 10000;
constexpr DWORD PollMs = 2;
constexpr int TextSize = 128;
constexpr char DisplayUsage[] = "display takes [--gone] [--timeout MS], or hotkey KEY TEXT, click "
                                "X Y [BUTTON] TEXT or dblclick X Y TEXT [--gone] [--timeout MS]";

struct DisplayState {
    HWND window;
    int windows;
    bool shown;
    RECT rect;
    char text[TextSize * 3]; // UTF-8
};

BOOL CALLBACK CountDisplay(HWND window, LPARAM state) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wcscmp(name, DisplayClassName) == 0) {
        auto& display = *reinterpret_cast<DisplayState*>(state);
        display.window = window;
        ++display.windows;
    }
    return TRUE;
}

DisplayState ReadDisplay() {
    DisplayState state = {};
    EnumWindows(CountDisplay, reinterpret_cast<LPARAM>(&state));
    if (state.window != nullptr) {
        state.shown = IsWindowVisible(state.window) != FALSE;
        GetWindowRect(state.window, &state.rect);
        wchar_t text[TextSize] = {};
        GetWindowTextW(state.window, text, TextSize);
        WideCharToMultiByte(CP_UTF8, 0, text, -1, state.text, sizeof(state.text), nullptr, nullptr);
    }
    return state;
}

// Whether the screen shows the display's bezel where its window stands: drawn, not only shown.
// Looked at a 32nd of its height in from the corner: between the bezel's light edge and the
// glass at every scale.
bool Drawn(const DisplayState& state) {
    const int inset = (state.rect.bottom - state.rect.top) / 32;
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, state.rect.left + inset, state.rect.top + inset);
    ReleaseDC(nullptr, screen);
    return state.shown && seen == unit_display_colours::Bezel;
}

void PrintState(const DisplayState& state) {
    const RECT& rect = state.rect;
    std::printf("shown %s\ntext %s\nwindows %d\nrect %ld %ld %ld %ld\n", state.shown ? "yes" : "no",
                state.text, state.windows, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    wchar_t name[64] = L"none";
    HWND foreground = GetForegroundWindow();
    if (foreground != nullptr) {
        GetClassNameW(foreground, name, 64);
    }
    char utf8[64 * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("foreground %s\ndrawn %s\nflags", utf8, Drawn(state) ? "yes" : "no");
    const LONG_PTR style =
        state.window != nullptr ? GetWindowLongPtrW(state.window, GWL_EXSTYLE) : 0;
    const std::pair<LONG_PTR, const char*> flags[] = {{WS_EX_TOPMOST, "topmost"},
                                                      {WS_EX_TOOLWINDOW, "toolwindow"},
                                                      {WS_EX_NOACTIVATE, "noactivate"},
                                                      {WS_EX_LAYERED, "layered"},
                                                      {WS_EX_TRANSPARENT, "transparent"}};
    for (const auto& [bit, flag] : flags) {
        if ((style & bit) != 0) {
            std::printf(" %s", flag);
        }
    }
    std::printf("\n");
}

// Polls until the display is as wanted: shown with text and drawn, or hidden (text null).
bool WaitFor(const char* text, unsigned timeoutMs, DisplayState& state) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(PollMs)) {
        state = ReadDisplay();
        if (text == nullptr ? !state.shown : std::strcmp(state.text, text) == 0 && Drawn(state)) {
            return true;
        }
    }
    return false;
}

// A hotkey, click or double click as those subcommands make it, then the display showing text,
// timed from the key going down or the mouse's start; with untilGone, also how long it stays.
ProbeExit Measure(ProbeArgs action, const char* text, unsigned timeoutMs, bool untilGone) {
    const char* what = action.values[0];
    const ProbeArgs rest = {action.count - 1, action.values + 1};
    double pressed = CounterMs();
    const ProbeExit sent = std::strcmp(what, "hotkey") == 0 && rest.count == 1
                               ? PressHotkey(rest.values[0], false, &pressed)
                           : std::strcmp(what, "click") == 0    ? RunClick(rest)
                           : std::strcmp(what, "dblclick") == 0 ? RunDoubleClick(rest)
                                                                : UsageError(DisplayUsage);
    if (sent != ProbeOk) {
        return sent;
    }
    DisplayState state;
    if (!WaitFor(text, timeoutMs, state)) {
        PrintState(state);
        return ProbeNotFound;
    }
    const double drawn = CounterMs();
    std::printf("drawn after %.1f ms\n", drawn - pressed);
    if (!untilGone) {
        return ProbeOk;
    }
    const bool gone = WaitFor(nullptr, GoneTimeoutMs, state);
    std::printf("%s after %.0f ms\n", gone ? "gone" : "still shown", CounterMs() - drawn);
    return gone ? ProbeOk : ProbeNotFound;
}

} // namespace

ProbeExit RunDisplay(ProbeArgs args) {
    unsigned timeoutMs = DefaultTimeoutMs;
    const bool gone = TakeFlag(args, "--gone");
    if (!TakeMillisecondsOption(args, "--timeout", timeoutMs)) {
        return UsageError(DisplayUsage);
    }
    if (args.count >= 2) {
        return Measure({args.count - 1, args.values}, args.values[args.count - 1], timeoutMs, gone);
    }
    if (args.count != 0) {
        return UsageError(DisplayUsage);
    }
    DisplayState state = ReadDisplay();
    const bool waited = !gone || WaitFor(nullptr, timeoutMs, state);
    PrintState(state);
    return waited ? ProbeOk : ProbeNotFound;
}
