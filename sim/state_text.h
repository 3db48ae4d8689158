#pragma once

// The simulated unit's state in words: what the unitsim tool prints and the FIELD=VALUE
// assignments it takes. Assignments set the state as given, without the unit's own reactions
// (source=md does not stop a playing CD); the command codes are what make the unit react.

#include "sim/unit_model.h"

#include <cstddef>

struct SimFieldInfo {
    const char* name;   // as written before '='; "raw.N" stands for raw.0 to raw.31
    const char* values; // the accepted values, for usage text and error messages
};

std::size_t SimFieldCount();
const SimFieldInfo& SimField(std::size_t index);

// Writes one "field: value" line per field, each ending in '\n', cut to fit size and always
// terminated when size > 0. Returns the length of the whole text, as snprintf does, so a
// result >= size means it was cut.
std::size_t DescribeSimUnitState(const SimUnitState& state, char* out, std::size_t size);

// Applies one FIELD=VALUE. On failure the state is left as it was and error says what was
// wrong and which values are accepted.
bool ApplySimFieldAssignment(SimUnitState& state, const char* assignment, char* error,
                             std::size_t errorSize);

// Applies the assignments in order, all or nothing: the state changes only when every one
// succeeds, and error names the first that failed.
bool ApplySimFieldAssignments(SimUnitState& state, const char* const* assignments,
                              std::size_t count, char* error, std::size_t errorSize);
