// A winmm.dll that says when a process has loaded it: the file winmm.dll.loaded beside it (its
// name in the case that the process asked for).

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    constexpr wchar_t MarkSuffix[] = L".loaded";
    wchar_t path[MAX_PATH + sizeof(MarkSuffix) / sizeof(wchar_t)];
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
        for (DWORD i = 0; i < sizeof(MarkSuffix) / sizeof(wchar_t); ++i) {
            path[length + i] = MarkSuffix[i];
        }
        HANDLE mark = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (mark != INVALID_HANDLE_VALUE) {
            CloseHandle(mark);
        }
    }
    return TRUE;
}
