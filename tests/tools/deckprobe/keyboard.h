#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// hotkey up|down|num4|num5|num6: Ctrl+Alt+key pressed and released as a keyboard does.
ProbeExit RunHotkey(ProbeArgs args);
