#include "support/counted_pause.h"

#include "tray/menu_command_pause.h"
#include "unit/command_pause.h"

namespace {

std::size_t pauses = 0;
std::size_t menuPauses = 0;

} // namespace

std::size_t CommandPauses() {
    return pauses;
}

void PauseAfterCommand() {
    ++pauses;
    Sleep(CommandPauseMs);
}

std::size_t MenuRefreshPauses() {
    return menuPauses;
}

void PauseBeforeMenuRefresh() {
    ++menuPauses;
    Sleep(MenuCommandPauseMs);
}
