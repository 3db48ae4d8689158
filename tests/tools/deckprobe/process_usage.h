#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// usage [WINDOW]: one line of what the resident program's process holds, for a long run to
// sample: "handles N gdi N user N private N workingset N" (bytes for the last two). A figure
// that the system does not give is printed as "-", as Wine does not give the GDI and USER
// counts. WINDOW names another process's window, class and title alike.
ProbeExit RunUsage(ProbeArgs args);
