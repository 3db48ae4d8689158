#pragma once

// From here on, DLLs that the program or Windows on its behalf load by name come from the system
// folder alone: never from the program's own folder (the owner may have unpacked it into
// Downloads, where a web page can leave a file of any name) nor from the current one. Called
// first, before anything is loaded.
void LimitDllSearchToSystemFolder();
