#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// menu list|click|bounds|closed: the program's open popup menu, read from inside the program
// by a hook (menu_hook.cpp) and used with real mouse input.
//   menu list [--popups N] [--wait MS]  waits until N popups (default 1) are on screen and the
//                                       program has the keyboard, then
//                                       prints their entries, one a line:
//                                       "POPUP ID|sub|sep FLAGS TEXT", FLAGS being "-" or
//                                       some of break,radio,checked,grayed
//   menu click ID|sub                   left click on the entry with that id, or on the one
//                                       that opens a submenu, in the popup opened last
//   menu bounds                         "X Y W H" of the screen area the popups cover
//   menu closed [--wait MS]             waits until no popup is open (or the program is gone)
ProbeExit RunMenu(ProbeArgs args);
