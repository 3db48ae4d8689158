#include "app/command_line.h"

#include "app/command_options.h"
#include "tray/program_name.h"
#include "tray/tray_state.h"
#include "unit/unit_link.h"

#include <cstdlib>

namespace {

// Each power option gives the unit two seconds to settle before the next one acts.
constexpr DWORD PowerOptionWaitMs = 2000;

void StopResidentCopy() {
    HWND resident = FindWindowA(ProgramName, ProgramName);
    if (resident != nullptr) {
        // Posted: the resident copy ends in its own time.
        PostMessageA(resident, WM_CLOSE, 0, 0);
        return;
    }
    MessageBoxW(nullptr, L"起動していません", ProgramCaption, MB_OK | MB_ICONWARNING);
}

// Returns false for -s, which keeps the process going.
bool CarryOut(const OptionAction& action, UnitLink& link) {
    switch (action.kind) {
    case OptionKind::PowerOff:
        link.SetPower(PowerWantedOff);
        Sleep(PowerOptionWaitMs);
        break;
    case OptionKind::StopResident: StopResidentCopy(); break;
    case OptionKind::SelectInput:
        // Only through an open link: unlike the power and volume options, -i never opens it.
        if (const std::uint32_t code = SelectCodeForInput(static_cast<unsigned>(action.number))) {
            link.SendCommand(code);
        }
        break;
    case OptionKind::PowerOn:
        link.SetPower(PowerWantedOn);
        Sleep(PowerOptionWaitMs);
        break;
    case OptionKind::KeepPowerAtSessionEnd: trayState.keepPowerAtSessionEnd = true; break;
    case OptionKind::NoOnScreenDisplay: trayState.noOnScreenDisplay = true; break;
    case OptionKind::Stay: return false;
    case OptionKind::NoTrayIcon: trayState.noTrayIcon = true; break;
    case OptionKind::SetVolume: link.SetVolumeLevel(action.number); break;
    case OptionKind::NotAnOption: break;
    }
    return true;
}

} // namespace

bool ProcessCommandLine() {
    bool endNow = true;
    UnitLink link;
    link.EnsureOpen();
    for (char** argument = __argv + 1; *argument != nullptr; ++argument) {
        if (!CarryOut(ParseOption(*argument), link)) {
            endNow = false;
        }
    }
    link.Close();
    return endNow;
}
