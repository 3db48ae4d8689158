#include "tests/tools/deckprobe/program_window.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* ProgramWindowName = "Norvik Deckhand";
constexpr DWORD PollMs = 50;

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
    UINT message = 0;
    std::int64_t wParam = 0;
    std::int64_t lParam = 0;
    if ((args.count != 1 && args.count != 3) || !ParseMessage(args.values[0], message) ||
        (args.count == 3 &&
         (!ParseInteger(args.values[1], wParam) || !ParseInteger(args.values[2], lParam)))) {
        return UsageError("post takes MSG [WPARAM LPARAM]");
    }
    HWND window = FindProgramWindow();
    if (window == nullptr) {
        std::fprintf(stderr, "deckprobe: the program's window does not exist\n");
        return ProbeNotFound;
    }
    if (!PostMessageA(window, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam))) {
        std::fprintf(stderr, "deckprobe: PostMessage failed (error %lu)\n", GetLastError());
        return ProbeNotFound;
    }
    std::printf("posted 0x%04X\n", message);
    return ProbeOk;
}
