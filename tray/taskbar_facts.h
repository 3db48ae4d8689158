#pragma once

#include "tray/tray_icon_look.h"

// What Windows says now about the taskbar: its DPI and small-icon size, and its theme.
TaskbarFacts ReadTaskbarFacts();
