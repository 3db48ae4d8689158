#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// display [--gone] [--timeout MS]: the program's on-screen display as lines "shown yes|no",
//     "text TEXT" (UTF-8), "windows N" (shown or not), "rect X Y WIDTH HEIGHT", "foreground
//     CLASS" (the focus's window, or "none"), "drawn yes|no" (its bezel on the screen), "flags
//     ..." (its extended styles); with --gone, once it is hidden (exit 1 if not in time).
// display hotkey KEY TEXT | click X Y [BUTTON] TEXT | dblclick X Y TEXT [--gone] [--timeout MS]:
//     presses the hotkey or clicks as those subcommands do, then prints "drawn after MS ms" once
//     the display shows TEXT on the screen, counted from the key going down (as "hotkey --clock"
//     counts) or the click's start; with --gone, then "gone after MS ms" once it is hidden
//     again, counted from there (or "still shown after" ten seconds, exit 1).
ProbeExit RunDisplay(ProbeArgs args);
