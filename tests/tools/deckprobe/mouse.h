#pragma once

#include "tests/tools/deckprobe/probe_args.h"

#include <windows.h>

// move X Y: puts the cursor there (screen pixels).
ProbeExit RunMove(ProbeArgs args);
// click X Y [left|middle|right]: one press and release there.
ProbeExit RunClick(ProbeArgs args);
// dblclick X Y: two left clicks there, stamped well within the double-click time however late
// the events are sent.
ProbeExit RunDoubleClick(ProbeArgs args);
// drag X Y DX DY [MS] [--hold]: left press at X,Y, moves in small steps to X+DX,Y+DY over MS
// (default 600), release there; with --hold the button stays down (see release).
ProbeExit RunDrag(ProbeArgs args);
// release: lets the left button go where the cursor is.
ProbeExit RunRelease(ProbeArgs args);

// Moves there, lets the window under the cursor see it, then clicks the left button.
bool LeftClickAt(POINT point);
