#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// hotkey up|down|num4|num5|num6 [--clock]: Ctrl+Alt+key pressed and released as a keyboard
// does; with --clock prints "pressed MS", the counter (counter_ms.h) as the key went down.
ProbeExit RunHotkey(ProbeArgs args);
// The same for one key name; a usage error for a name it does not know. pressedMs, when given,
// gets the counter as the key went down.
ProbeExit PressHotkey(const char* name, bool printClock = false, double* pressedMs = nullptr);
// keys KEY...: each key pressed and released in turn, without modifiers: escape, return, tab,
// space, the arrows, or a letter or digit.
ProbeExit RunKeys(ProbeArgs args);
