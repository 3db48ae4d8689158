#pragma once

#include <windows.h>

#include <cstddef>

// DLLs that the program does not import but loads while it runs, where it first needs them.

// The DLL name (a file name such as L"winmm.dll") from the system folder alone, never from the
// program's own folder, where anyone able to leave a file beside the program could have put one
// of that name; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name, std::size_t length);
template <std::size_t N> HMODULE LoadSystemLibrary(const wchar_t (&name)[N]) {
    return LoadSystemLibrary(name, N - 1);
}

// The function name of module as a pointer of type Function; null when module is null or has
// no such function.
template <typename Function> Function LookUp(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through the generic function pointer type, which may stand for any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
