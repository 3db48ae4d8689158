#pragma once

// Reads the unit's status and brings the icon, the tooltip and the tray state up to date. The
// one place where the unit's state reaches the screen.
void StatusRefresh();
