#include "sim/unitsim/subcommands.h"

#include "sim/state_text.h"
#include "sim/command_code_text.h"
#include "sim/unitsim/log_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// What the driver's "no such device" status arrives as; winerror.h shows its name only to
// newer Windows versions than the project targets.
constexpr DWORD NoSuchDeviceError = 433;

int Refused(const SubcommandContext& context, const char* what) {
    const DWORD error = context.sim.LastError();
    if (error == NoSuchDeviceError) {
        std::fprintf(stderr, "unitsim: there is no unit %u (see unitsim info)\n", context.instance);
    } else {
        std::fprintf(stderr, "unitsim: the driver refused %s for unit %u (Win32 error %lu)\n", what,
                     context.instance, static_cast<unsigned long>(error));
    }
    return ExitRefused;
}

int WrongArguments(const char* message) {
    std::fprintf(stderr, "unitsim: %s\n", message);
    return ExitUsage;
}

bool ParseUnsigned(const char* text, unsigned long max, unsigned long& value) {
    if (*text < '0' || *text > '9' || std::strlen(text) > 9) {
        return false;
    }
    char* end = nullptr;
    value = std::strtoul(text, &end, 10);
    return *end == '\0' && value <= max;
}

int RunStatus(SubcommandContext& context) {
    if (context.argc != 0) {
        return WrongArguments("status takes no arguments");
    }
    SimUnitState state;
    if (!context.sim.GetState(context.instance, state)) {
        return Refused(context, "reading the state");
    }
    std::vector<char> text(DescribeSimUnitState(state, nullptr, 0) + 1);
    DescribeSimUnitState(state, text.data(), text.size());
    std::fputs(text.data(), stdout);
    return ExitOk;
}

void PrintFieldList() {
    std::fprintf(stderr, "fields and their values:\n");
    for (std::size_t i = 0; i < SimFieldCount(); ++i) {
        const SimFieldInfo& field = SimField(i);
        std::fprintf(stderr, "  %-14s %s\n", field.name, field.values);
    }
}

int RunSet(SubcommandContext& context) {
    if (context.argc == 0) {
        std::fprintf(stderr, "unitsim: set needs at least one FIELD=VALUE\n");
        PrintFieldList();
        return ExitUsage;
    }
    SimUnitState state;
    if (!context.sim.GetState(context.instance, state)) {
        return Refused(context, "reading the state");
    }
    char error[256] = {};
    // All or nothing: the copy goes back only when every assignment parsed.
    if (!ApplySimFieldAssignments(state, context.argv, static_cast<std::size_t>(context.argc),
                                  error, sizeof(error))) {
        std::fprintf(stderr, "unitsim: %s; nothing was changed\n", error);
        return ExitUsage;
    }
    if (!context.sim.SetState(context.instance, state)) {
        return Refused(context, "writing the state");
    }
    return ExitOk;
}

int RunPress(SubcommandContext& context) {
    static char names[1024];
    if (context.argc != 1) {
        ListCommandNames(names, sizeof(names));
        std::fprintf(stderr, "unitsim: press takes one command: %s, or 0x and eight hex digits\n",
                     names);
        return ExitUsage;
    }
    std::uint32_t code = 0;
    char error[128] = {};
    if (!ParseCommandCode(context.argv[0], code, error, sizeof(error))) {
        ListCommandNames(names, sizeof(names));
        std::fprintf(stderr, "unitsim: %s\naccepted: %s, or 0x and eight hex digits\n", error,
                     names);
        return ExitUsage;
    }
    bool applied = false;
    if (!context.sim.Press(context.instance, code, &applied)) {
        return Refused(context, "the key press");
    }
    char name[32];
    FormatCommandCode(code, name, sizeof(name));
    std::printf("unit %u %s %s (0x%08X)\n", context.instance, applied ? "took" : "ignored", name,
                static_cast<unsigned>(code));
    return ExitOk;
}

int RunLog(SubcommandContext& context) {
    const bool clear = context.argc == 1 && std::strcmp(context.argv[0], "--clear") == 0;
    if (context.argc > 1 || (context.argc == 1 && !clear)) {
        return WrongArguments("log takes only --clear");
    }
    std::vector<SimLogEntry> entries;
    std::uint32_t dropped = 0;
    if (!context.sim.ReadLog(entries, clear, &dropped)) {
        return Refused(context, "reading the log");
    }
    for (const SimLogEntry& entry : entries) {
        char line[160];
        FormatLogLine(entry, line, sizeof(line));
        std::printf("%s\n", line);
    }
    if (dropped > 0) {
        std::printf("(%u entries dropped: the log was full)\n", static_cast<unsigned>(dropped));
    }
    return ExitOk;
}

int RunSetPresent(SubcommandContext& context, bool present) {
    if (context.argc != 0) {
        return WrongArguments(present ? "plug takes no arguments" : "unplug takes no arguments");
    }
    if (!context.sim.SetPresent(context.instance, present)) {
        return Refused(context, present ? "plugging in" : "unplugging");
    }
    return ExitOk;
}

int RunUnplug(SubcommandContext& context) {
    return RunSetPresent(context, false);
}

int RunPlug(SubcommandContext& context) {
    return RunSetPresent(context, true);
}

// A subcommand whose one argument, a number up to max, goes to the driver through apply.
int RunWithNumber(SubcommandContext& context, unsigned long max, const char* usage,
                  bool (SimControl::*apply)(std::uint32_t), const char* what) {
    unsigned long number = 0;
    if (context.argc != 1 || !ParseUnsigned(context.argv[0], max, number)) {
        return WrongArguments(usage);
    }
    if (!(context.sim.*apply)(static_cast<std::uint32_t>(number))) {
        return Refused(context, what);
    }
    return ExitOk;
}

int RunFail(SubcommandContext& context) {
    return RunWithNumber(context, 1000000,
                         "fail takes the number of transfers to fail, 0 to 1000000",
                         &SimControl::FailNext, "failing transfers");
}

int RunShort(SubcommandContext& context) {
    return RunWithNumber(context, SimTransferDataSize,
                         "short takes the status bytes a read is answered with, 0 to 32",
                         &SimControl::SetReadAnswer, "shortening reads");
}

int RunFlaky(SubcommandContext& context) {
    return RunWithNumber(context, 1000000,
                         "flaky takes N, one transfer in N fails (0 ends it), 0 to 1000000",
                         &SimControl::FailEvery, "failing transfers");
}

int RunRefuse(SubcommandContext& context) {
    const bool on = context.argc == 1 && std::strcmp(context.argv[0], "on") == 0;
    if (context.argc != 1 || (!on && std::strcmp(context.argv[0], "off") != 0)) {
        return WrongArguments("refuse takes on or off");
    }
    return context.sim.RefuseTransfers(on) ? ExitOk : Refused(context, "the refusal");
}

int RunHandles(SubcommandContext& context) {
    if (context.argc != 0) {
        return WrongArguments("handles takes no arguments");
    }
    SimInfo info;
    if (!context.sim.Info(info)) {
        return Refused(context, "reading the driver's information");
    }
    for (unsigned i = 0; i < info.instanceCount && i < SimMaxInstances; ++i) {
        if (info.instances[i].installed) {
            std::printf("unit %u: %u open\n", i,
                        static_cast<unsigned>(info.instances[i].openHandles));
        }
    }
    std::printf("total: %u open\n", static_cast<unsigned>(info.openHandles));
    return ExitOk;
}

int RunReset(SubcommandContext& context) {
    if (context.argc != 0) {
        return WrongArguments("reset takes no arguments");
    }
    if (!context.sim.Reset(context.instance)) {
        return Refused(context, "the reset");
    }
    return ExitOk;
}

int RunClock(SubcommandContext& context) {
    const char* usage = "clock takes run, stop, or advance MS";
    if (context.argc == 1 && std::strcmp(context.argv[0], "run") == 0) {
        return context.sim.SetClock(true) ? ExitOk : Refused(context, "the clock change");
    }
    if (context.argc == 1 && std::strcmp(context.argv[0], "stop") == 0) {
        return context.sim.SetClock(false) ? ExitOk : Refused(context, "the clock change");
    }
    unsigned long ms = 0;
    if (context.argc == 2 && std::strcmp(context.argv[0], "advance") == 0 &&
        ParseUnsigned(context.argv[1], 86400000, ms)) {
        return context.sim.AdvanceClock(static_cast<std::uint32_t>(ms))
                   ? ExitOk
                   : Refused(context, "the clock change");
    }
    return WrongArguments(usage);
}

int RunInfo(SubcommandContext& context) {
    if (context.argc != 0) {
        return WrongArguments("info takes no arguments");
    }
    SimInfo info;
    if (!context.sim.Info(info)) {
        return Refused(context, "reading the driver's information");
    }
    std::uint32_t listedCount = 0;
    const std::uint32_t listed = ListedUnitInstances(&listedCount);
    std::printf("units installed: %u\n", static_cast<unsigned>(info.instanceCount));
    for (unsigned i = 0; i < info.instanceCount && i < SimMaxInstances; ++i) {
        const SimInstanceInfo& unit = info.instances[i];
        if (!unit.installed) {
            continue;
        }
        std::printf("unit %u: %s, %s, %u open\n", i, unit.present ? "plugged in" : "unplugged",
                    (listed >> i) & 1u ? "listed" : "not listed",
                    static_cast<unsigned>(unit.openHandles));
    }
    std::printf("interfaces listed: %u\n", static_cast<unsigned>(listedCount));
    std::printf("transfers to fail: %u\n", static_cast<unsigned>(info.pendingFailures));
    std::printf("one transfer in N fails: %u\n", static_cast<unsigned>(info.failEvery));
    std::printf("refusing transfers: %s\n", info.refusing ? "yes" : "no");
    std::printf("status reads answer: %u of %u bytes\n",
                static_cast<unsigned>(info.readAnswerBytes),
                static_cast<unsigned>(SimTransferDataSize));
    std::printf("clock: %s\n", info.clockRunning ? "running" : "standing still");
    return ExitOk;
}

} // namespace

const Subcommand Subcommands[] = {
    {"status", "", "the unit's state, one field per line", RunStatus},
    {"set", "FIELD=VALUE ...", "change fields; nothing changes unless all parse", RunSet},
    {"press", "COMMAND", "a key on the unit: PowerOn, CdTrack+5, SetVolume+40, 0xB8020681",
     RunPress},
    {"log", "[--clear]", "the driver's log of opens, closes and transfers", RunLog},
    {"unplug", "", "take the unit off the USB bus", RunUnplug},
    {"plug", "", "put it back", RunPlug},
    {"fail", "N", "fail the next N transfers, on any unit", RunFail},
    {"flaky", "N", "from now on one transfer in N fails, on any unit; 0 ends it", RunFlaky},
    {"refuse", "on|off", "refuse every transfer, as a busy or broken unit would", RunRefuse},
    {"short", "N", "answer status reads with their first N bytes, on any unit (32: all)", RunShort},
    {"handles", "", "open handles per unit", RunHandles},
    {"reset", "", "factory state, plugged in", RunReset},
    {"clock", "run|stop|advance MS", "let the unit's time run, stand still, or jump", RunClock},
    {"info", "", "the driver's units and what the program's lookup lists", RunInfo},
};

const unsigned SubcommandCount = sizeof(Subcommands) / sizeof(Subcommands[0]);
