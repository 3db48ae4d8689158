#pragma once

#include <cstddef>

// The Windows-side tests define the pause after each accepted command themselves: it still
// pauses, and it counts, so that a test can tell "no pause" without timing anything.
std::size_t CommandPauses();
// The same for the pause between a menu command and its status refresh.
std::size_t MenuRefreshPauses();
