#pragma once

#include "sim/control_client.h"

// Exit codes of unitsim.
constexpr int ExitOk = 0;
constexpr int ExitUsage = 1;    // the arguments were wrong; the message names what is accepted
constexpr int ExitNoDriver = 2; // the simulated unit's driver is not loaded
constexpr int ExitRefused = 3;  // the driver refused the operation (no such unit, ...)

// What every subcommand gets: the connected control channel, the unit it addresses, and the
// arguments after the subcommand's name.
struct SubcommandContext {
    SimControl& sim;
    unsigned instance;
    int argc;
    char** argv;
};

struct Subcommand {
    const char* name;
    const char* arguments; // for the usage text
    const char* summary;
    int (*run)(SubcommandContext& context);
};

extern const Subcommand Subcommands[];
extern const unsigned SubcommandCount;
