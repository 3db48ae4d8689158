// deckprobe: the end-to-end tests' hands and eyes inside Wine.
//
//     deckprobe SUBCOMMAND [ARGUMENTS]
//
// Prints UTF-8. Exit codes: 0 done, 1 not found / timed out / check failed, 2 usage error.

#include "tests/tools/deckprobe/keyboard.h"
#include "tests/tools/deckprobe/message_boxes.h"
#include "tests/tools/deckprobe/mouse.h"
#include "tests/tools/deckprobe/onscreen_display.h"
#include "tests/tools/deckprobe/popup_menu.h"
#include "tests/tools/deckprobe/probe_args.h"
#include "tests/tools/deckprobe/process_usage.h"
#include "tests/tools/deckprobe/program_window.h"
#include "tests/tools/deckprobe/taskbar_theme.h"
#include "tests/tools/deckprobe/tray_tooltips.h"
#include "tests/tools/deckprobe/unit_panel.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

namespace {

struct Subcommand {
    const char* name;
    const char* arguments;
    ProbeExit (*run)(ProbeArgs args);
};

constexpr Subcommand Subcommands[] = {
    {"wait-box", "[--timeout MS] [--count N]", RunWaitBox},
    {"no-box", "--for MS", RunNoBox},
    {"window", "[--wait MS | --gone MS]", RunWindow},
    {"post", "MSG [WPARAM LPARAM] [--clock]", RunPost},
    {"send", "MSG[:WPARAM[:LPARAM]]... [--rounds N] [--panel] [--theme-every N]", RunSend},
    {"usage", "[--panel | WINDOW]", RunUsage},
    {"hotkey", "up|down|num4|num5|num6 [--clock]", RunHotkey},
    {"keys", "KEY...  (escape, return, tab, space, the arrows, a letter or digit)", RunKeys},
    {"move", "X Y", RunMove},
    {"click", "X Y [left|middle|right]", RunClick},
    {"dblclick", "X Y", RunDoubleClick},
    {"drag", "X Y DX DY [MS] [--hold]", RunDrag},
    {"release", "", RunRelease},
    {"tooltip", "", RunTooltip},
    {"menu", "list [--popups N] [--wait MS] | click ID|sub | bounds | closed [--wait MS]", RunMenu},
    {"panel", "text [strip] [--wait TEXT] | key NAME | hotkey KEY TEXT | press CODE TEXT",
     RunPanel},
    {"theme", "light|dark", RunTheme},
    {"display", "[--gone] | hotkey KEY TEXT | click X Y [BUTTON] TEXT | dblclick X Y TEXT [--gone]",
     RunDisplay},
};

ProbeExit Usage() {
    std::fprintf(stderr, "usage: deckprobe SUBCOMMAND [ARGUMENTS]\n");
    for (const Subcommand& command : Subcommands) {
        std::fprintf(stderr, "  %-9s %s\n", command.name, command.arguments);
    }
    return ProbeUsage;
}

} // namespace

int main(int argc, char** argv) {
    // Line feeds stay line feeds: the output is read by bash, not by a Windows console.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) {
        return Usage();
    }
    for (const Subcommand& command : Subcommands) {
        if (std::strcmp(command.name, argv[1]) == 0) {
            return command.run(ProbeArgs{argc - 2, argv + 2});
        }
    }
    if (std::strcmp(argv[1], "help") != 0) {
        std::fprintf(stderr, "deckprobe: unknown subcommand '%s'\n", argv[1]);
    }
    return Usage();
}
