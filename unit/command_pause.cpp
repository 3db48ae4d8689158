#include "unit/command_pause.h"

void PauseAfterCommand() {
    Sleep(CommandPauseMs);
}
