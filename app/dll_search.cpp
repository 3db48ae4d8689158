#include "app/dll_search.h"

#include "tray/system_library.h"

#include <windows.h>

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

} // namespace

void LimitDllSearchToSystemFolder() {
    // Windows 8 on, and Windows 7 with update KB2533623; looked up, so that the program still
    // starts on a Windows 7 without it.
    const auto setDefaultDllDirectories = LookUp<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr) {
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Where that is missing, the current folder at least leaves the search.
    SetDllDirectoryW(L"");
}
