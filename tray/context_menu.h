#pragma once

#include "unit/unit_link.h"

#include <windows.h>

#include <cstdint>

// The popup menu of the tray icon. ShowContextMenu returns when the popup has closed; while it
// is open the window procedure hands WM_INITMENUPOPUP to PrepareMenu, and the chosen entry
// arrives afterwards as WM_COMMAND for HandleMenuCommand.
void ShowContextMenu();
void PrepareMenu(HMENU menu);
void HandleMenuCommand(std::uint16_t id, UnitLink& link);
