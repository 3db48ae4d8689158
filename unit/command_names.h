#pragma once

#include "unit/command_code.h"

#include <cstddef>

// The command table by name, for tools and tests that speak of commands in words.
struct CommandName {
    const char* name;
    CommandCode code;
    bool numbered; // the family takes a number in its low byte
};

extern const CommandName CommandNames[];
extern const std::size_t CommandNameCount;

// Exact, case-sensitive match; null when unknown.
const CommandName* FindCommandByName(const char* name);
// Names the code, including numbered family members (the family's entry); null when unknown.
const CommandName* FindCommandByCode(std::uint32_t code);
