#pragma once

#include "tests/tools/deckprobe/probe_args.h"

#include <windows.h>

// The simulated unit's front panel window (unitpanel.exe); null when none is open.
HWND FindPanelWindow();

// panel text [strip] [--wait TEXT] [--timeout MS]: the display's text (or the strip's), read
//     through the window; with --wait, once it holds TEXT (exit 1 when it does not in time).
// panel key NAME: the screen point in the middle of the key called NAME ("POWER", "VOL +"),
//     as "X Y", for a click.
// panel hotkey KEY TEXT [--timeout MS]: presses the hotkey as "hotkey" does, then waits for
//     the display's text to hold TEXT and prints how long that took from the key press.
// panel press CODE TEXT [--timeout MS]: the same for the command code pressed on unit 0
//     through the simulated driver: how long the panel takes to show what the unit did.
ProbeExit RunPanel(ProbeArgs args);
