#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// tooltip: prints the tooltip of every icon in the shell's tray, one line each, as UTF-8
// with a line break inside a tooltip written as \n. Exit 1 when the tray holds no icon.
ProbeExit RunTooltip(ProbeArgs args);
