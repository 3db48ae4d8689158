#include "tests/tools/deckprobe/process_usage.h"

#include "tests/tools/deckprobe/unit_panel.h"
#include "tray/program_name.h"

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <vector>

namespace {

// The system-wide handle table, as NtQuerySystemInformation gives it (class 16).
constexpr SYSTEM_INFORMATION_CLASS SystemHandleInformationClass =
    static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS InfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

struct SystemHandleEntry {
    ULONG ownerProcessId;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    void* object;
    ACCESS_MASK access;
};

struct SystemHandleTable {
    ULONG count;
    SystemHandleEntry entries[1];
};

// A figure as text, or "-" when the system does not give it.
struct Figure {
    char text[24];
};

Figure Known(unsigned long long value) {
    Figure figure;
    std::snprintf(figure.text, sizeof(figure.text), "%llu", value);
    return figure;
}

Figure None() {
    Figure figure;
    std::snprintf(figure.text, sizeof(figure.text), "-");
    return figure;
}

// The process's entries in the system's handle table; -1 when the table cannot be read.
long HandlesInSystemTable(DWORD processId) {
    std::vector<unsigned char> buffer(256 * 1024);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status =
            NtQuerySystemInformation(SystemHandleInformationClass, buffer.data(),
                                     static_cast<ULONG>(buffer.size()), &needed);
        if (status == InfoLengthMismatch) {
            buffer.resize(needed > buffer.size() ? needed + 64 * 1024 : buffer.size() * 2);
            continue;
        }
        if (status < 0) {
            return -1;
        }
        const auto* table = reinterpret_cast<const SystemHandleTable*>(buffer.data());
        long count = 0;
        for (ULONG i = 0; i < table->count; ++i) {
            count += table->entries[i].ownerProcessId == processId ? 1 : 0;
        }
        return count;
    }
    return -1;
}

// Wine's GetProcessHandleCount succeeds with 0, which no live process has; the system's handle
// table, which Wine does keep, then counts.
Figure HandleCount(HANDLE process, DWORD processId) {
    DWORD count = 0;
    if (GetProcessHandleCount(process, &count) && count != 0) {
        return Known(count);
    }
    const long counted = HandlesInSystemTable(processId);
    return counted > 0 ? Known(static_cast<unsigned long long>(counted)) : None();
}

// GetGuiResources answers 0 both for "none" and for failure (Wine has no implementation: it
// fails with ERROR_CALL_NOT_IMPLEMENTED); only a failure sets an error.
Figure GuiObjects(HANDLE process, DWORD kind) {
    SetLastError(ERROR_SUCCESS);
    const DWORD count = GetGuiResources(process, kind);
    return count != 0 || GetLastError() == ERROR_SUCCESS ? Known(count) : None();
}

} // namespace

ProbeExit RunUsage(ProbeArgs args) {
    const bool panel = TakeFlag(args, "--panel");
    if (args.count != 0) {
        return UsageError("usage takes only --panel");
    }
    HWND window = panel ? FindPanelWindow() : FindWindowA(ProgramName, ProgramName);
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0) {
        std::fprintf(stderr, "deckprobe: the program's window does not exist\n");
        return ProbeNotFound;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) {
        std::fprintf(stderr, "deckprobe: cannot open process %lu (error %lu)\n", processId,
                     GetLastError());
        return ProbeNotFound;
    }
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    // The commit charge, which Windows also reports as the private bytes; Wine fills only this
    // one of the two.
    const bool haveMemory = GetProcessMemoryInfo(process, &memory, sizeof(memory));
    std::printf("handles %s gdi %s user %s private %s workingset %s\n",
                HandleCount(process, processId).text, GuiObjects(process, GR_GDIOBJECTS).text,
                GuiObjects(process, GR_USEROBJECTS).text,
                haveMemory ? Known(memory.PagefileUsage).text : "-",
                haveMemory ? Known(memory.WorkingSetSize).text : "-");
    CloseHandle(process);
    return ProbeOk;
}
