// unitsim: the simulated Norvik unit from the command line, for tests and demos.
//
//     unitsim [--instance N] SUBCOMMAND [ARGUMENTS]
//
// Output is plain ASCII. Exit codes: 0 done, 1 wrong arguments, 2 driver not loaded,
// 3 refused by the driver.

#include "sim/unitsim/subcommands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: unitsim [--instance N] SUBCOMMAND [ARGUMENTS]\n"
                 "  N is the unit's instance number, 0 to %u (default 0)\nsubcommands:\n",
                 static_cast<unsigned>(SimMaxInstances - 1));
    for (unsigned i = 0; i < SubcommandCount; ++i) {
        const Subcommand& command = Subcommands[i];
        std::fprintf(stderr, "  %-7s %-20s %s\n", command.name, command.arguments, command.summary);
    }
    return ExitUsage;
}

bool ParseInstance(const char* text, unsigned& instance) {
    if (*text < '0' || *text > '9' || std::strlen(text) > 2) {
        return false;
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || value >= SimMaxInstances) {
        return false;
    }
    instance = static_cast<unsigned>(value);
    return true;
}

const Subcommand* FindSubcommand(const char* name) {
    for (unsigned i = 0; i < SubcommandCount; ++i) {
        if (std::strcmp(Subcommands[i].name, name) == 0) {
            return &Subcommands[i];
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    int next = 1;
    unsigned instance = 0;
    if (next < argc && std::strcmp(argv[next], "--instance") == 0) {
        if (next + 1 >= argc || !ParseInstance(argv[next + 1], instance)) {
            std::fprintf(stderr, "unitsim: --instance takes a unit number from 0 to %u\n",
                         static_cast<unsigned>(SimMaxInstances - 1));
            return ExitUsage;
        }
        next += 2;
    }
    if (next >= argc) {
        return Usage();
    }
    const Subcommand* command = FindSubcommand(argv[next]);
    if (command == nullptr) {
        std::fprintf(stderr, "unitsim: unknown subcommand '%s'\n", argv[next]);
        return Usage();
    }
    SimControl sim;
    if (!sim.Connect()) {
        std::fprintf(stderr,
                     "unitsim: the simulated unit's driver is not loaded (cannot open %s, "
                     "Win32 error %lu)\n",
                     SIM_CONTROL_DEVICE_PATH, static_cast<unsigned long>(sim.LastError()));
        return ExitNoDriver;
    }
    SubcommandContext context = {sim, instance, argc - next - 1, argv + next + 1};
    return command->run(context);
}
