#pragma once

#include "sim/control_protocol.h"

#include <cstddef>

// One line of `unitsim log` for one entry, without a line end: sequence, time, instance, kind,
// status and lengths, then what the kind adds (access and share mode of an open, the command
// of a write).
void FormatLogLine(const SimLogEntry& entry, char* out, std::size_t size);
