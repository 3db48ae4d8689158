#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// wait-box [--timeout MS] [--count N]: waits for a message box of the program, prints its text
// and presses its OK button; with --count, N boxes in turn (of any copies), each within MS.
ProbeExit RunWaitBox(ProbeArgs args);
// no-box --for MS: succeeds when no message box of the program appears for MS; a box that
// does appear is printed and closed, so that the program does not hang on it.
ProbeExit RunNoBox(ProbeArgs args);
