#pragma once

// What other programs may know of the front panel's window: its class, and the ids of the
// children whose text they read (the end-to-end tests' deckprobe reads them through the window,
// as a screen reader would).

constexpr const char PanelClassName[] = "NorvikUnitPanel";

// The display: its window text is everything the display shows, in words.
constexpr int PanelDisplayId = 10;
// The strip under the display: the last commands that reached the unit, oldest first.
constexpr int PanelStripId = 11;

// WM_TIMER ids. Sending the refresh timer's message makes the panel read the unit at once.
constexpr unsigned PanelRefreshTimer = 1;
constexpr unsigned PanelRepeatTimer = 2;
