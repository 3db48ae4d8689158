#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// window [--wait MS | --gone MS]: whether the program's hidden window exists (exit 0) or not
// (exit 1), optionally waiting for it to appear or to go.
ProbeExit RunWindow(ProbeArgs args);
// post MSG [WPARAM LPARAM] [--clock]: posts to the hidden window; MSG is a number or the name
// of a registered message such as TaskbarCreated. --clock adds the counter (counter_ms.h) at the
// post to the line printed.
ProbeExit RunPost(ProbeArgs args);
// send MSG[:WPARAM[:LPARAM]]... [--rounds N] [--panel] [--theme-every N]: sends the messages in
// turn to the hidden window (or the front panel's), the whole list N times, each waiting until
// the program has handled it, so that the pace is the program's own; prints how many and how
// long. --theme-every: after every N messages the taskbar's theme turns (SwitchTheme).
ProbeExit RunSend(ProbeArgs args);
