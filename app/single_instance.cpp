#include "app/single_instance.h"

#include "tray/program_name.h"
#include "tray/tray_messages.h"

namespace {

// A copy started by another user (fast user switching) holds the marker with a DACL that lets
// nobody else open it: refused access proves the marker exists as surely as a handle does.
bool MarkerHeldElsewhere(HANDLE opened, DWORD error) {
    return opened != nullptr || error == ERROR_ACCESS_DENIED;
}

} // namespace

bool AnotherCopyRuns() {
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, SingleInstanceMutexName);
    const bool found = MarkerHeldElsewhere(existing, GetLastError());
    if (existing != nullptr) {
        CloseHandle(existing);
    }
    return found;
}

void ReportRunningCopy() {
    HWND resident = FindWindowExA(nullptr, nullptr, ProgramName, ProgramName);
    if (resident == nullptr) {
        // Running in another session, or its window is not made yet.
        MessageBoxW(nullptr, L"既に常駐しています(in background)", ProgramCaption,
                    MB_OK | MB_ICONERROR);
        return;
    }
    // Restores an icon that the copy may have lost.
    PostMessageA(resident, TrayAddMsg, 0, 0);
    MessageBoxW(nullptr, L"既に常駐しています", ProgramCaption, MB_OK | MB_ICONERROR);
}

HANDLE TakeSingleInstanceMarker(bool& anotherCopy) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, SingleInstanceMutexName);
    const DWORD error = GetLastError();
    anotherCopy =
        mutex != nullptr ? error == ERROR_ALREADY_EXISTS : MarkerHeldElsewhere(nullptr, error);
    if (anotherCopy && mutex != nullptr) {
        // Held open, the handle would keep the name alive after that copy ends, and a later
        // start would be told of a copy that is gone.
        CloseHandle(mutex);
        mutex = nullptr;
    }
    return mutex;
}
