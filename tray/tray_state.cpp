#include "tray/tray_state.h"

// Static storage: every field starts at zero.
TrayState trayState;
