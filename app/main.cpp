#include "app/command_line.h"
#include "app/dll_search.h"
#include "app/hidden_window.h"
#include "app/single_instance.h"
#include "power/power_events.h"
#include "tray/program_name.h"
#include "tray/tray_state.h"
#include "unit/unit_link.h"

#include <cstdlib>

namespace {

constexpr int ExitNormal = 0;
constexpr int ExitFailed = 1;

void PowerOnAtStart() {
    UnitLink link;
    link.EnsureOpen();
    link.SetPower(PowerWantedOn);
    link.Close();
}

int ShowStartFailure(const wchar_t* text) {
    MessageBoxW(nullptr, text, ProgramCaption, MB_OK | MB_ICONERROR);
    return ExitFailed;
}

// From the single-instance marker to the end of the message loop.
int RunResident(HINSTANCE instance, bool startedWithoutArguments) {
    if (startedWithoutArguments) {
        PowerOnAtStart();
    }
    if (!RegisterTrayWindowClass(instance)) {
        return ShowStartFailure(L"Cannot Regist WNDCLASSEX");
    }
    if (CreateTrayWindow(instance) == nullptr) {
        return ShowStartFailure(L"Cannot Create Window");
    }
    RunMessageLoop();
    DeleteMixerSnapshot();
    return ExitNormal;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    LimitDllSearchToSystemFolder();
    trayState.instance = instance;
    if (__argc > 1 && ProcessCommandLine()) {
        return ExitNormal;
    }
    if (AnotherCopyRuns()) {
        ReportRunningCopy();
        return ExitFailed;
    }
    bool anotherCopy = false;
    HANDLE marker = TakeSingleInstanceMarker(anotherCopy);
    if (anotherCopy) {
        // Another copy started between the check and the creation.
        ReportRunningCopy();
        return ExitFailed;
    }
    const int exitCode = RunResident(instance, __argc == 1);
    if (marker != nullptr) {
        CloseHandle(marker);
    }
    return exitCode;
}
