#include "app/single_instance.h"

#include "tray/program_name.h"
#include "tray/tray_messages.h"

bool AnotherCopyRuns() {
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, SingleInstanceMutexName);
    if (existing == nullptr) {
        return false;
    }
    CloseHandle(existing);
    return true;
}

void ReportRunningCopy() {
    HWND resident = FindWindowExA(nullptr, nullptr, ProgramName, ProgramName);
    if (resident == nullptr) {
        // Running in another session, or its window is not made yet.
        MessageBoxA(nullptr, "既に常駐しています(in background)", ProgramName,
                    MB_OK | MB_ICONERROR);
        return;
    }
    // Restores an icon that the copy may have lost.
    PostMessageA(resident, TrayAddMsg, 0, 0);
    MessageBoxA(nullptr, "既に常駐しています", ProgramName, MB_OK | MB_ICONERROR);
}

HANDLE CreateSingleInstanceMutex(bool& alreadyExists) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, SingleInstanceMutexName);
    alreadyExists = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex;
}
