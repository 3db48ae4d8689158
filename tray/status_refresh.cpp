#include "tray/status_refresh.h"

#include "tray/status_text.h"
#include "tray/tray_icon.h"
#include "tray/tray_state.h"
#include "unit/unit_link.h"

void StatusRefresh() {
    UnitLink link;
    link.EnsureOpen();
    const bool read = link.ReadStatus();
    const RefreshOutcome outcome = RefreshTrayUnitState(read ? &link.status : nullptr, trayState);
    SetTrayIcon(outcome.iconIndex, outcome.tooltipSuffix);
    link.Close();
}
