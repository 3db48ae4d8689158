#include "tray/menu_command_pause.h"

void PauseBeforeMenuRefresh() {
    Sleep(MenuCommandPauseMs);
}
