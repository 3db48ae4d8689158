#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// hotkey up|down|num4|num5|num6: Ctrl+Alt+key pressed and released as a keyboard does.
ProbeExit RunHotkey(ProbeArgs args);
// The same for one key name; a usage error for a name it does not know.
ProbeExit PressHotkey(const char* name);
// keys KEY...: each key pressed and released in turn, without modifiers: escape, return, tab,
// space, the arrows, or a letter or digit.
ProbeExit RunKeys(ProbeArgs args);
