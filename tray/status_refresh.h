#pragma once

#include "unit/unit_status.h"

// Reads the unit's status and brings the icon, the tooltip and the tray state up to date. The
// one place where the unit's state reaches the screen.
// True when the unit's status was read; read, when given, then receives it.
bool StatusRefresh(UnitStatus* read = nullptr);
