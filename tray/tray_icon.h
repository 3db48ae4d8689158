#pragma once

#include <cstdint>

// The notification-area icon of the hidden window, identifier 1025.
void AddTrayIcon();
void RemoveTrayIcon();

// Shows the icon resource IconResourceOfIndex(iconIndex) with the tooltip "Norvik Deckhand"
// followed by suffix. No visible effect before the icon has been added.
void SetTrayIcon(std::int32_t iconIndex, const char* suffix);

// Shows the picture shown now once more, in the look chosen last (trayState.iconLook): the
// tooltip stays.
void ShowTrayIconAgain();
