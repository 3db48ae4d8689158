#include "tray/status_refresh.h"

#include "tray/status_text.h"
#include "tray/tray_icon.h"
#include "tray/tray_state.h"
#include "unit/unit_link.h"

bool StatusRefresh(UnitStatus* read) {
    UnitLink link;
    link.EnsureOpen();
    const bool statusRead = link.ReadStatus();
    const RefreshOutcome outcome =
        RefreshTrayUnitState(statusRead ? &link.status : nullptr, trayState);
    SetTrayIcon(outcome.iconIndex, outcome.tooltipSuffix);
    link.Close();
    if (statusRead && read != nullptr) {
        *read = link.status;
    }
    return statusRead;
}
