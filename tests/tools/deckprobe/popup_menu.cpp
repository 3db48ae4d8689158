#include "tests/tools/deckprobe/popup_menu.h"

#include "tests/tools/deckprobe/menu_report.h"
#include "tests/tools/deckprobe/mouse.h"
#include "tests/tools/deckprobe/utf8_output.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char ProgramWindowName[] = "Norvik Deckhand";
constexpr DWORD PollMs = 50;
// The program answers between its own steps; a menu command keeps it busy for some 200 ms.
constexpr UINT AnswerTimeoutMs = 5000;
constexpr unsigned DefaultWaitMs = 10000;

// The hook on the program's UI thread and the mapping it answers into, for one run.
class MenuSpy {
public:
    MenuSpy() {
        window_ = FindWindowA(ProgramWindowName, ProgramWindowName);
        if (window_ == nullptr) {
            return;
        }
        const DWORD thread = GetWindowThreadProcessId(window_, nullptr);
        char path[MAX_PATH];
        const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
        std::string dllPath(path, length);
        dllPath.erase(dllPath.find_last_of('\\') + 1).append(MenuHookDllName);
        dll_ = LoadLibraryA(dllPath.c_str());
        if (dll_ == nullptr) {
            std::fprintf(stderr, "deckprobe: cannot load %s (error %lu)\n", dllPath.c_str(),
                         GetLastError());
            return;
        }
        // Through a plain function pointer type, which any function pointer converts to.
        const auto proc = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void (*)()>(GetProcAddress(dll_, MenuHookProcName)));
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, proc, dll_, thread);
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(MenuReport), MenuReportMappingName);
        if (mapping_ != nullptr) {
            view_ = static_cast<MenuReport*>(
                MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(MenuReport)));
        }
        query_ = RegisterWindowMessageA(MenuQueryMessageName);
    }
    ~MenuSpy() {
        if (view_ != nullptr) {
            UnmapViewOfFile(view_);
        }
        if (mapping_ != nullptr) {
            CloseHandle(mapping_);
        }
        if (hook_ != nullptr) {
            UnhookWindowsHookEx(hook_);
        }
        if (dll_ != nullptr) {
            FreeLibrary(dll_);
        }
    }
    MenuSpy(const MenuSpy&) = delete;
    MenuSpy& operator=(const MenuSpy&) = delete;

    bool Ready() const { return hook_ != nullptr && view_ != nullptr; }

    // False when the program did not answer (gone, or the hook not in place).
    bool Ask(MenuReport& report) {
        std::memset(view_, 0, sizeof(MenuReport));
        DWORD_PTR result = 0;
        if (!IsWindow(window_) || SendMessageTimeoutA(window_, query_, 0, 0, SMTO_ABORTIFHUNG,
                                                      AnswerTimeoutMs, &result) == 0) {
            return false;
        }
        std::memcpy(&report, view_, sizeof(MenuReport));
        return report.answered != FALSE;
    }

    bool ProgramGone() const { return !IsWindow(window_); }

private:
    HWND window_ = nullptr;
    HMODULE dll_ = nullptr;
    HHOOK hook_ = nullptr;
    HANDLE mapping_ = nullptr;
    MenuReport* view_ = nullptr;
    UINT query_ = 0;
};

// On screen, and taking keys: only then can a user's key or click choose from it.
bool Ready(const MenuReport& report, int popups) {
    if (report.popupCount < popups || !report.foreground) {
        return false;
    }
    for (int i = 0; i < report.itemCount; ++i) {
        if (!report.items[i].rectKnown) {
            return false;
        }
    }
    return true;
}

std::string FlagWords(const MenuReportItem& item) {
    std::string words;
    const auto add = [&words](bool set, const char* word) {
        if (set) {
            words.append(words.empty() ? "" : ",").append(word);
        }
    };
    add((item.type & MFT_MENUBARBREAK) != 0, "break");
    add((item.type & MFT_RADIOCHECK) != 0, "radio");
    add((item.state & MFS_CHECKED) != 0, "checked");
    add((item.state & MFS_GRAYED) != 0, "grayed");
    return words.empty() ? "-" : words;
}

void PrintItem(const MenuReportItem& item) {
    if ((item.type & MFT_SEPARATOR) != 0) {
        std::printf("%d sep\n", item.popup);
        return;
    }
    char text[MaxReportText * 3];
    if (!WideToUtf8(item.text, text, sizeof(text))) {
        std::snprintf(text, sizeof(text), "(not convertible)");
    }
    const std::string id = item.opensSubmenu ? "sub" : std::to_string(item.id);
    std::printf("%d %s %s %s\n", item.popup, id.c_str(), FlagWords(item).c_str(), text);
}

// Polls until done(report) holds; false when the time is up first.
template <typename Done>
bool WaitFor(MenuSpy& spy, unsigned waitMs, MenuReport& report, Done done) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done(spy.Ask(report))) {
            return true;
        }
        if (GetTickCount() - start >= waitMs) {
            return false;
        }
        Sleep(PollMs);
    }
}

ProbeExit List(MenuSpy& spy, ProbeArgs args) {
    unsigned waitMs = DefaultWaitMs;
    unsigned popups = 1;
    if (!TakeMillisecondsOption(args, "--wait", waitMs) ||
        !TakeMillisecondsOption(args, "--popups", popups) || args.count != 0 || popups == 0) {
        return UsageError("menu list takes [--popups N] [--wait MS]");
    }
    MenuReport report;
    if (!WaitFor(spy, waitMs, report, [&](bool answered) {
            return answered && Ready(report, static_cast<int>(popups));
        })) {
        std::fprintf(stderr, "deckprobe: no %u popup(s) on screen within %u ms\n", popups, waitMs);
        return ProbeNotFound;
    }
    for (int i = 0; i < report.itemCount; ++i) {
        PrintItem(report.items[i]);
    }
    std::fflush(stdout);
    return ProbeOk;
}

const MenuReportItem* FindTarget(const MenuReport& report, const char* target) {
    const bool submenu = std::strcmp(target, "sub") == 0;
    int id = 0;
    if (!submenu && !ParseInt(target, id)) {
        return nullptr;
    }
    const MenuReportItem* found = nullptr;
    for (int i = 0; i < report.itemCount; ++i) {
        const MenuReportItem& item = report.items[i];
        const bool match = submenu ? item.opensSubmenu != FALSE
                                   : !item.opensSubmenu && (item.type & MFT_SEPARATOR) == 0 &&
                                         item.id == static_cast<UINT>(id);
        if (match && (found == nullptr || item.popup >= found->popup)) {
            found = &item;
        }
    }
    return found;
}

ProbeExit Click(MenuSpy& spy, ProbeArgs args) {
    if (args.count != 1) {
        return UsageError("menu click takes ID or sub");
    }
    MenuReport report;
    if (!spy.Ask(report) || !Ready(report, 1)) {
        std::fprintf(stderr, "deckprobe: no popup on screen\n");
        return ProbeNotFound;
    }
    const MenuReportItem* item = FindTarget(report, args.values[0]);
    if (item == nullptr) {
        std::fprintf(stderr, "deckprobe: no entry %s in the open popups\n", args.values[0]);
        return ProbeNotFound;
    }
    const POINT centre = {(item->rect.left + item->rect.right) / 2,
                          (item->rect.top + item->rect.bottom) / 2};
    return LeftClickAt(centre) ? ProbeOk : ProbeNotFound;
}

ProbeExit Bounds(MenuSpy& spy, ProbeArgs args) {
    MenuReport report;
    if (args.count != 0) {
        return UsageError("menu bounds takes no arguments");
    }
    if (!spy.Ask(report) || report.popupCount == 0) {
        std::fprintf(stderr, "deckprobe: no popup on screen\n");
        return ProbeNotFound;
    }
    RECT all = report.popups[0];
    for (int i = 1; i < report.popupCount; ++i) {
        UnionRect(&all, &all, &report.popups[i]);
    }
    std::printf("%ld %ld %ld %ld\n", all.left, all.top, all.right - all.left, all.bottom - all.top);
    return ProbeOk;
}

ProbeExit Closed(MenuSpy& spy, ProbeArgs args) {
    unsigned waitMs = DefaultWaitMs;
    if (!TakeMillisecondsOption(args, "--wait", waitMs) || args.count != 0) {
        return UsageError("menu closed takes [--wait MS]");
    }
    MenuReport report;
    if (!WaitFor(spy, waitMs, report, [&](bool answered) {
            return spy.ProgramGone() || (answered && report.popupCount == 0);
        })) {
        std::fprintf(stderr, "deckprobe: a popup is still open after %u ms\n", waitMs);
        return ProbeNotFound;
    }
    return ProbeOk;
}

struct MenuCommand {
    const char* name;
    ProbeExit (*run)(MenuSpy& spy, ProbeArgs args);
};

constexpr MenuCommand MenuCommands[] = {
    {"list", List}, {"click", Click}, {"bounds", Bounds}, {"closed", Closed}};

} // namespace

ProbeExit RunMenu(ProbeArgs args) {
    const MenuCommand* command = nullptr;
    for (const MenuCommand& candidate : MenuCommands) {
        if (args.count > 0 && std::strcmp(candidate.name, args.values[0]) == 0) {
            command = &candidate;
        }
    }
    if (command == nullptr) {
        return UsageError("menu takes list, click, bounds or closed");
    }
    MenuSpy spy;
    if (!spy.Ready()) {
        // With the program gone there is no popup either.
        if (command->run == Closed && spy.ProgramGone()) {
            return ProbeOk;
        }
        std::fprintf(stderr, "deckprobe: cannot watch the program's menus (error %lu)\n",
                     GetLastError());
        return ProbeNotFound;
    }
    return command->run(spy, ProbeArgs{args.count - 1, args.values + 1});
}
