#include "tests/tools/deckprobe/unit_panel.h"

#include "sim/control_client.h"
#include "sim/unitpanel/panel_ids.h"
#include "tests/tools/deckprobe/keyboard.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned DefaultTimeoutMs = 3000;
constexpr DWORD PollMs = 5;
constexpr UINT ReadTimeoutMs = 2000;
constexpr std::size_t TextSize = 512;
constexpr char PanelUsage[] = "panel takes text [strip] [--wait TEXT] [--timeout MS], key NAME, "
                              "hotkey KEY TEXT or press CODE TEXT [--timeout MS]";

// Through WM_GETTEXT, as a screen reader reads a control of another program.
bool ReadChildText(int childId, char (&text)[TextSize]) {
    text[0] = '\0';
    HWND child = GetDlgItem(FindPanelWindow(), childId);
    DWORD_PTR copied = 0;
    return child != nullptr &&
           SendMessageTimeoutA(child, WM_GETTEXT, TextSize, reinterpret_cast<LPARAM>(text),
                               SMTO_NORMAL, ReadTimeoutMs, &copied) != 0;
}

// Polls until the text holds wanted; the time it took in elapsedMs.
bool WaitForText(int childId, const char* wanted, unsigned timeoutMs, DWORD start,
                 char (&text)[TextSize], DWORD& elapsedMs) {
    for (;;) {
        const bool read = ReadChildText(childId, text);
        elapsedMs = GetTickCount() - start;
        if (read && std::strstr(text, wanted) != nullptr) {
            return true;
        }
        if (elapsedMs >= timeoutMs) {
            return false;
        }
        Sleep(PollMs);
    }
}

// The key's name as printed: its window text without the access key's '&'.
bool NameIs(HWND key, const char* name) {
    char text[64] = {};
    GetWindowTextA(key, text, sizeof(text));
    char plain[64] = {};
    for (std::size_t from = 0, to = 0; text[from] != '\0' && to + 1 < sizeof(plain); ++from) {
        if (text[from] != '&') {
            plain[to++] = text[from];
        }
    }
    return std::strcmp(plain, name) == 0;
}

ProbeExit PrintKeyCentre(const char* name) {
    for (HWND child = GetWindow(FindPanelWindow(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        if (IsWindowVisible(child) && NameIs(child, name) && GetWindowRect(child, &rect)) {
            std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            return ProbeOk;
        }
    }
    std::fprintf(stderr, "deckprobe: the panel shows no key called '%s'\n", name);
    return ProbeNotFound;
}

ProbeExit ReportText(int childId, const char* wanted, unsigned timeoutMs, DWORD start) {
    char text[TextSize];
    DWORD elapsedMs = 0;
    if (wanted == nullptr) {
        if (!ReadChildText(childId, text)) {
            std::fprintf(stderr, "deckprobe: the panel's text cannot be read\n");
            return ProbeNotFound;
        }
        std::printf("%s\n", text);
        return ProbeOk;
    }
    const bool shown = WaitForText(childId, wanted, timeoutMs, start, text, elapsedMs);
    std::printf("%s\n%s after %lu ms\n", text, shown ? "shown" : "not shown",
                static_cast<unsigned long>(elapsedMs));
    return shown ? ProbeOk : ProbeNotFound;
}

} // namespace

HWND FindPanelWindow() {
    return FindWindowA(PanelClassName, nullptr);
}

ProbeExit RunPanel(ProbeArgs args) {
    unsigned timeoutMs = DefaultTimeoutMs;
    const char* wanted = nullptr;
    for (int i = 0; i + 1 < args.count; ++i) {
        if (std::strcmp(args.values[i], "--wait") == 0) {
            wanted = args.values[i + 1];
            for (int j = i; j + 2 < args.count; ++j) {
                args.values[j] = args.values[j + 2];
            }
            args.count -= 2;
            break;
        }
    }
    const bool strip = TakeFlag(args, "strip");
    if (!TakeMillisecondsOption(args, "--timeout", timeoutMs) || args.count < 1) {
        return UsageError(PanelUsage);
    }
    // A wait covers the window's opening too.
    if (wanted == nullptr && FindPanelWindow() == nullptr) {
        std::fprintf(stderr, "deckprobe: no front panel window is open\n");
        return ProbeNotFound;
    }
    const char* what = args.values[0];
    if (std::strcmp(what, "text") == 0 && args.count == 1) {
        return ReportText(strip ? PanelStripId : PanelDisplayId, wanted, timeoutMs, GetTickCount());
    }
    if (std::strcmp(what, "key") == 0 && args.count == 2) {
        return PrintKeyCentre(args.values[1]);
    }
    std::int64_t code = 0;
    if (std::strcmp(what, "press") == 0 && args.count == 3 && ParseInteger(args.values[1], code)) {
        // The unit's key pressed through the driver, as the panel's own keys press it.
        SimControl sim;
        if (!sim.Connect() || !sim.Press(0, static_cast<std::uint32_t>(code))) {
            std::fprintf(stderr, "deckprobe: the simulated unit cannot be reached\n");
            return ProbeNotFound;
        }
        return ReportText(PanelDisplayId, args.values[2], timeoutMs, GetTickCount());
    }
    if (std::strcmp(what, "hotkey") == 0 && args.count == 3) {
        const DWORD start = GetTickCount();
        const ProbeExit pressed = PressHotkey(args.values[1]);
        return pressed != ProbeOk ? pressed
                                  : ReportText(PanelDisplayId, args.values[2], timeoutMs, start);
    }
    return UsageError(PanelUsage);
}
