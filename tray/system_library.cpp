#include "tray/system_library.h"

#include <cwchar>

HMODULE LoadSystemLibrary(const wchar_t* name, std::size_t length) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr) {
        return module;
    }
    // A Windows 7 without update KB2533623 does not know the flag: the full path instead, with
    // the DLL's own imports looked for in its folder first.
    wchar_t path[MAX_PATH];
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
    if (folder == 0 || folder + 1 + length >= MAX_PATH) {
        return nullptr;
    }
    path[folder] = L'\\';
    std::wmemcpy(path + folder + 1, name, length);
    path[folder + 1 + length] = L'\0';
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
