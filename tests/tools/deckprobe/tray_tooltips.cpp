#include "tests/tools/deckprobe/tray_tooltips.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <vector>

// The shell keeps the tooltips of its icons in tooltip controls of its own process. They are
// read with TTM_ENUMTOOLSW and TTM_GETTEXTW, whose record and buffer must lie in that
// process: they are placed there with VirtualAllocEx and read back with ReadProcessMemory.

namespace {

// Wine's tray window: the shell's own, or the X11 driver's stand-alone one.
constexpr const char* TrayWindowClasses[] = {"Shell_TrayWnd", "__winex11_standalone_tray"};
constexpr const char* TooltipClass = "tooltips_class32";
constexpr int TipChars = 1024;
constexpr DWORD ShellAnswerMs = 2000;

struct Search {
    std::vector<HWND> trayWindows; // the trays and the icons in them
    std::vector<HWND> tooltips;
};

BOOL CALLBACK CollectIcon(HWND child, LPARAM context) {
    reinterpret_cast<Search*>(context)->trayWindows.push_back(child);
    return TRUE;
}

// A tooltip is a top-level window owned by the tray or by the icon it describes.
BOOL CALLBACK CollectTooltip(HWND window, LPARAM context) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    auto* search = reinterpret_cast<Search*>(context);
    const HWND owner = GetWindow(window, GW_OWNER);
    if (std::strcmp(className, TooltipClass) == 0) {
        for (HWND trayWindow : search->trayWindows) {
            if (trayWindow == owner) {
                search->tooltips.push_back(window);
                break;
            }
        }
    }
    return TRUE;
}

std::vector<HWND> FindTrayTooltips() {
    Search search;
    for (const char* trayClass : TrayWindowClasses) {
        HWND tray = nullptr;
        while ((tray = FindWindowExA(nullptr, tray, trayClass, nullptr)) != nullptr) {
            search.trayWindows.push_back(tray);
            EnumChildWindows(tray, CollectIcon, reinterpret_cast<LPARAM>(&search));
        }
    }
    if (!search.trayWindows.empty()) {
        EnumWindows(CollectTooltip, reinterpret_cast<LPARAM>(&search));
    }
    return search.tooltips;
}

bool AskTooltip(HWND tooltip, UINT message, WPARAM wParam, void* remoteInfo) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(tooltip, message, wParam, reinterpret_cast<LPARAM>(remoteInfo),
                               SMTO_ABORTIFHUNG, ShellAnswerMs, &answer) != 0 &&
           answer != 0;
}

// The text of the tooltip's first tool.
bool ReadTooltipText(HWND tooltip, wchar_t (&text)[TipChars]) {
    DWORD processId = 0;
    GetWindowThreadProcessId(tooltip, &processId);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    const SIZE_T size = sizeof(TTTOOLINFOW) + sizeof(text);
    auto* remote = static_cast<BYTE*>(
        VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    bool read = false;
    if (remote != nullptr) {
        auto* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TTTOOLINFOW));
        TTTOOLINFOW info = {};
        info.cbSize = sizeof(info);
        const wchar_t empty = L'\0';
        // TTM_GETTEXTW answers 0 whether or not it found the tool; the empty text shows that.
        read = WriteProcessMemory(process, remote, &info, sizeof(info), nullptr) &&
               AskTooltip(tooltip, TTM_ENUMTOOLSW, 0, remote) &&
               ReadProcessMemory(process, remote, &info, sizeof(info), nullptr);
        if (read) {
            info.lpszText = remoteText;
            read = WriteProcessMemory(process, remote, &info, sizeof(info), nullptr) &&
                   WriteProcessMemory(process, remoteText, &empty, sizeof(empty), nullptr);
        }
        if (read) {
            AskTooltip(tooltip, TTM_GETTEXTW, TipChars, remote);
            read = ReadProcessMemory(process, remoteText, text, sizeof(text), nullptr);
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    text[TipChars - 1] = L'\0';
    return read;
}

void PrintEscaped(const wchar_t* text) {
    char utf8[TipChars * 3];
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr) == 0) {
        std::printf("(not convertible)\n");
        return;
    }
    for (const char* p = utf8; *p != '\0'; ++p) {
        if (*p == '\n') {
            std::fputs("\\n", stdout);
        } else {
            std::fputc(*p, stdout);
        }
    }
    std::fputc('\n', stdout);
}

} // namespace

ProbeExit RunTooltip(ProbeArgs args) {
    if (args.count != 0) {
        return UsageError("tooltip takes no arguments");
    }
    const std::vector<HWND> tooltips = FindTrayTooltips();
    if (tooltips.empty()) {
        std::fprintf(stderr, "deckprobe: no icon in the tray\n");
        return ProbeNotFound;
    }
    for (HWND tooltip : tooltips) {
        wchar_t text[TipChars] = {};
        if (!ReadTooltipText(tooltip, text)) {
            std::fprintf(stderr, "deckprobe: could not read a tooltip (error %lu)\n",
                         GetLastError());
            return ProbeNotFound;
        }
        PrintEscaped(text);
    }
    std::fflush(stdout);
    return ProbeOk;
}
