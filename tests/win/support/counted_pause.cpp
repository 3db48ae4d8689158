#include "support/counted_pause.h"

#include "unit/command_pause.h"

namespace {

std::size_t pauses = 0;

} // namespace

std::size_t CommandPauses() {
    return pauses;
}

void PauseAfterCommand() {
    ++pauses;
    Sleep(CommandPauseMs);
}
