#include "tests/tools/deckprobe/onscreen_display.h"

#include "tests/tools/counter_ms.h"
#include "tests/tools/deckprobe/keyboard.h"
#include "tests/tools/deckprobe/mouse.h"
#include "tray/dot_matrix_paint.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

constexpr wchar_t DisplayClassName[] = L"Norvik Deckhand OSD";
constexpr unsigned DefaultTimeoutMs = 3000;
// Long enough to tell how long a display that should fade within two seconds stays.
constexpr unsigned GoneTimeoutMs = 10000;
constexpr DWORD PollMs = 2;
constexpr int TextSize = 128;
constexpr char DisplayUsage[] =
    "display takes [--wait TEXT | --gone] [--timeout MS], or hotkey KEY TEXT, click X Y "
    "[left|middle|right] TEXT or dblclick X Y TEXT [--gone] [--timeout MS]";

struct DisplayState {
    HWND window;
    int windows;
    bool shown;
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
        wchar_t text[TextSize] = {};
        GetWindowTextW(state.window, text, TextSize);
        WideCharToMultiByte(CP_UTF8, 0, text, -1, state.text, sizeof(state.text), nullptr, nullptr);
    }
    return state;
}

// Whether the screen shows the display's bezel where its window stands: drawn, not only shown.
bool Drawn(HWND window) {
    RECT rect;
    if (window == nullptr || !GetWindowRect(window, &rect)) {
        return false;
    }
    // Inside the bezel, between its light edge and the glass, at every scale: a 32nd of the
    // display's height in from its corner.
    const int inset = (rect.bottom - rect.top) / 32;
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, rect.left + inset, rect.top + inset);
    ReleaseDC(nullptr, screen);
    return seen == unit_display_colours::Bezel;
}

void PrintForeground() {
    HWND foreground = GetForegroundWindow();
    wchar_t name[64] = {};
    char utf8[64 * 3] = {};
    if (foreground != nullptr && GetClassNameW(foreground, name, 64) != 0) {
        WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8, sizeof(utf8), nullptr, nullptr);
    }
    std::printf("foreground %s\n", utf8[0] != '\0' ? utf8 : "none");
}

void PrintFlags(HWND window) {
    struct Flag {
        LONG_PTR bit;
        const char* name;
    };
    constexpr Flag Flags[] = {{WS_EX_TOPMOST, "topmost"},         {WS_EX_TOOLWINDOW, "toolwindow"},
                              {WS_EX_NOACTIVATE, "noactivate"},   {WS_EX_LAYERED, "layered"},
                              {WS_EX_TRANSPARENT, "transparent"}, {WS_EX_APPWINDOW, "appwindow"}};
    const LONG_PTR style = window != nullptr ? GetWindowLongPtrW(window, GWL_EXSTYLE) : 0;
    std::printf("flags");
    for (const Flag& flag : Flags) {
        if (style & flag.bit) {
            std::printf(" %s", flag.name);
        }
    }
    std::printf("\n");
}

void PrintState(const DisplayState& state) {
    std::printf("shown %s\ntext %s\nwindows %d\n", state.shown ? "yes" : "no", state.text,
                state.windows);
    RECT rect = {};
    if (state.window != nullptr) {
        GetWindowRect(state.window, &rect);
    }
    std::printf("rect %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    PrintForeground();
    std::printf("drawn %s\n", state.shown && Drawn(state.window) ? "yes" : "no");
    PrintFlags(state.window);
}

// Polls until the display is as wanted: shown with text and drawn, or hidden (text null).
bool WaitFor(const char* text, unsigned timeoutMs, DisplayState& state) {
    const DWORD start = GetTickCount();
    for (;;) {
        state = ReadDisplay();
        const bool done = text == nullptr ? !state.shown
                                          : state.shown && std::strcmp(state.text, text) == 0 &&
                                                Drawn(state.window);
        if (done) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(PollMs);
    }
}

// Carries out a hotkey, click or double click as those subcommands do; started gets the counter
// as the key went down or the mouse began. A usage error for anything else.
ProbeExit Act(ProbeArgs action, double& started) {
    started = CounterMs();
    const char* what = action.values[0];
    const ProbeArgs rest = {action.count - 1, action.values + 1};
    if (std::strcmp(what, "hotkey") == 0 && rest.count == 1) {
        return PressHotkey(rest.values[0], false, &started);
    }
    if (std::strcmp(what, "click") == 0) {
        return RunClick(rest);
    }
    if (std::strcmp(what, "dblclick") == 0) {
        return RunDoubleClick(rest);
    }
    return UsageError(DisplayUsage);
}

// With untilGone, also how long the display stays from then on.
ProbeExit Measure(ProbeArgs action, const char* text, unsigned timeoutMs, bool untilGone) {
    double pressed = 0;
    const ProbeExit sent = Act(action, pressed);
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
    if (args.count >= 2 && args.values[0][0] != '-') {
        return Measure({args.count - 1, args.values}, args.values[args.count - 1], timeoutMs, gone);
    }
    const char* wanted = nullptr;
    if (args.count == 2 && std::strcmp(args.values[0], "--wait") == 0 && !gone) {
        wanted = args.values[1];
    } else if (args.count != 0) {
        return UsageError(DisplayUsage);
    }
    DisplayState state = ReadDisplay();
    if (wanted == nullptr && !gone) {
        PrintState(state);
        return ProbeOk;
    }
    const double start = CounterMs();
    const bool waited = WaitFor(wanted, timeoutMs, state);
    PrintState(state);
    std::printf("waited %.0f ms\n", CounterMs() - start);
    return waited ? ProbeOk : ProbeNotFound;
}
