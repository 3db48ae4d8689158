#pragma once

#include "tests/tools/deckprobe/probe_args.h"

// usage [--panel]: one line of what the resident program's process (or the front panel's)
// holds, for a long run to sample:
// "handles N gdi N user N private N workingset N" (bytes for the last two). A figure that the
// system does not give is printed as "-", as Wine does not give the GDI and USER counts.
ProbeExit RunUsage(ProbeArgs args);
