#include "tests/tools/deckprobe/program_window.h"

#include "tests/tools/counter_ms.h"
#include "tests/tools/deckprobe/taskbar_theme.h"
#include "tests/tools/deckprobe/unit_panel.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* ProgramWindowName = "Norvik Deckhand";
constexpr DWORD PollMs = 50;
// Far beyond the slowest message the program handles (a menu command: its command's pause, the
// 100 ms wait and a status read), so that only a hung program runs into it.
constexpr UINT SendTimeoutMs = 60000;
constexpr std::size_t MaxMessagesInList = 64;

struct WindowMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

HWND FindProgramWindow() {
    return FindWindowA(ProgramWindowName, ProgramWindowName);
}

// Polls until the window's presence is as wanted or the time is up; the presence at the end.
bool WaitForPresence(bool wanted, unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const bool present = FindProgramWindow() != nullptr;
        if (present == wanted || GetTickCount() - start >= timeoutMs) {
            return present;
        }
        Sleep(PollMs);
    }
}

bool ParseMessage(const char* text, UINT& message) {
    std::int64_t value = 0;
    if (ParseInteger(text, value)) {
        if (value < 0 || value > 0xFFFFFFFFLL) {
            return false;
        }
        message = static_cast<UINT>(value);
        return true;
    }
    message = RegisterWindowMessageA(text);
    return message != 0;
}

// "MSG[:WPARAM[:LPARAM]]", the numbers as ParseInteger takes them.
bool ParseMessageWords(const char* text, WindowMessage& out) {
    char words[64] = {};
    if (std::strlen(text) >= sizeof(words)) {
        return false;
    }
    std::memcpy(words, text, std::strlen(text));
    const char* parts[3] = {words, "0", "0"};
    char* colon = std::strchr(words, ':');
    for (int i = 1; i < 3 && colon != nullptr; ++i) {
        *colon = '\0';
        parts[i] = colon + 1;
        colon = std::strchr(colon + 1, ':');
    }
    std::int64_t wParam = 0;
    std::int64_t lParam = 0;
    if (colon != nullptr || !ParseMessage(parts[0], out.message) ||
        !ParseInteger(parts[1], wParam) || !ParseInteger(parts[2], lParam)) {
        return false;
    }
    out.wParam = static_cast<WPARAM>(wParam);
    out.lParam = static_cast<LPARAM>(lParam);
    return true;
}

} // namespace

ProbeExit RunWindow(ProbeArgs args) {
    unsigned waitMs = 0;
    unsigned goneMs = 0;
    if (!TakeMillisecondsOption(args, "--wait", waitMs) ||
        !TakeMillisecondsOption(args, "--gone", goneMs) || args.count != 0 ||
        (waitMs != 0 && goneMs != 0)) {
        return UsageError("window takes --wait MS or --gone MS");
    }
    const bool present =
        goneMs != 0 ? WaitForPresence(false, goneMs) : WaitForPresence(true, waitMs);
    std::printf("%s\n", present ? "present" : "absent");
    const bool wanted = goneMs == 0;
    return present == wanted ? ProbeOk : ProbeNotFound;
}

ProbeExit RunPost(ProbeArgs args) {
    const bool clock = TakeFlag(args, "--clock");
    UINT message = 0;
    std::int64_t wParam = 0;
    std::int64_t lParam = 0;
    if ((args.count != 1 && args.count != 3) || !ParseMessage(args.values[0], message) ||
        (args.count == 3 &&
         (!ParseInteger(args.values[1], wParam) || !ParseInteger(args.values[2], lParam)))) {
        return UsageError("post takes MSG [WPARAM LPARAM] [--clock]");
    }
    HWND window = FindProgramWindow();
    if (window == nullptr) {
        std::fprintf(stderr, "deckprobe: the program's window does not exist\n");
        return ProbeNotFound;
    }
    const double postedMs = CounterMs();
    if (!PostMessageA(window, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam))) {
        std::fprintf(stderr, "deckprobe: PostMessage failed (error %lu)\n", GetLastError());
        return ProbeNotFound;
    }
    if (clock) {
        std::printf("posted 0x%04X %.3f\n", message, postedMs);
    } else {
        std::printf("posted 0x%04X\n", message);
    }
    return ProbeOk;
}

ProbeExit RunSend(ProbeArgs args) {
    unsigned rounds = 1;
    unsigned themeEvery = 0;
    WindowMessage messages[MaxMessagesInList];
    const bool panel = TakeFlag(args, "--panel");
    if (!TakeCountOption(args, "--rounds", rounds) ||
        !TakeCountOption(args, "--theme-every", themeEvery) || args.count == 0 ||
        args.count > int(MaxMessagesInList)) {
        return UsageError("send takes MSG[:WPARAM[:LPARAM]]... [--rounds N]");
    }
    for (int i = 0; i < args.count; ++i) {
        if (!ParseMessageWords(args.values[i], messages[i])) {
            return UsageError("send takes MSG[:WPARAM[:LPARAM]]... [--rounds N]");
        }
    }
    HWND window = panel ? FindPanelWindow() : FindProgramWindow();
    if (window == nullptr) {
        std::fprintf(stderr, "deckprobe: the program's window does not exist\n");
        return ProbeNotFound;
    }
    unsigned long sent = 0;
    const DWORD start = GetTickCount();
    for (unsigned round = 0; round < rounds; ++round) {
        for (int i = 0; i < args.count; ++i) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(window, messages[i].message, messages[i].wParam,
                                     messages[i].lParam, SMTO_NORMAL, SendTimeoutMs, &result)) {
                std::fprintf(stderr,
                             "deckprobe: message 0x%04X not handled after %lu sent "
                             "(error %lu)\n",
                             messages[i].message, sent, GetLastError());
                return ProbeNotFound;
            }
            ++sent;
            if (themeEvery != 0 && sent % themeEvery == 0 && !SwitchTheme(window)) {
                std::fprintf(stderr, "deckprobe: the theme could not be switched\n");
                return ProbeNotFound;
            }
        }
    }
    std::printf("sent %lu in %lu ms\n", sent, static_cast<unsigned long>(GetTickCount() - start));
    return ProbeOk;
}
