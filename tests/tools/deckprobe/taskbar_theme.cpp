#include "tests/tools/deckprobe/taskbar_theme.h"

#include "tests/tools/counter_ms.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr UINT BroadcastTimeoutMs = 5000; // for each window
constexpr wchar_t ColourSetChange[] = L"ImmersiveColorSet";

bool SetLightTheme(DWORD light) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool set =
        RegSetValueExW(key, L"SystemUsesLightTheme", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&light), sizeof(light)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

} // namespace

bool SwitchTheme(HWND window) {
    static DWORD light = 0;
    light = !light;
    DWORD_PTR answer = 0;
    return SetLightTheme(light) &&
           SendMessageTimeoutW(window, WM_SETTINGCHANGE, 0,
                               reinterpret_cast<LPARAM>(ColourSetChange), SMTO_NORMAL,
                               BroadcastTimeoutMs, &answer) != 0;
}

ProbeExit RunTheme(ProbeArgs args) {
    const bool light = args.count == 1 && std::strcmp(args.values[0], "light") == 0;
    if (args.count != 1 || (!light && std::strcmp(args.values[0], "dark") != 0)) {
        return UsageError("theme takes light or dark");
    }
    if (!SetLightTheme(light ? 1 : 0)) {
        std::fprintf(stderr, "deckprobe: could not write SystemUsesLightTheme\n");
        return ProbeNotFound;
    }
    DWORD_PTR answer = 0;
    const double start = CounterMs();
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>(ColourSetChange), SMTO_ABORTIFHUNG,
                        BroadcastTimeoutMs, &answer);
    std::printf("%.0f\n", CounterMs() - start);
    return ProbeOk;
}
