#include "tests/tools/deckprobe/keyboard.h"

#include "tests/tools/counter_ms.h"
#include "tests/tools/input_events/input_events.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

struct KeyName {
    const char* name;
    WORD virtualKey;
    WORD scanCode;
    bool extended; // the arrow keys beside the numeric pad send an E0 prefix
};

constexpr KeyName Keys[] = {
    {"up", VK_UP, 0x48, true},          {"down", VK_DOWN, 0x50, true},
    {"left", VK_LEFT, 0x4B, true},      {"right", VK_RIGHT, 0x4D, true},
    {"num4", VK_NUMPAD4, 0x4B, false},  {"num5", VK_NUMPAD5, 0x4C, false},
    {"num6", VK_NUMPAD6, 0x4D, false},  {"escape", VK_ESCAPE, 0x01, false},
    {"return", VK_RETURN, 0x1C, false}, {"tab", VK_TAB, 0x0F, false},
    {"space", VK_SPACE, 0x39, false},
};

constexpr WORD ControlScan = 0x1D;
constexpr WORD AltScan = 0x38;
// A typist's pace between transitions, so that each is its own input event.
constexpr DWORD KeyGapMs = 20;

// A letter or digit by itself: its virtual key is the upper-case character.
bool FindCharacterKey(const char* name, KeyName& key) {
    const char c = name[0];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (name[1] != '\0' || !(letter || (c >= '0' && c <= '9'))) {
        return false;
    }
    key.name = name;
    key.virtualKey = static_cast<WORD>(letter ? (c & ~0x20) : c);
    key.scanCode = static_cast<WORD>(MapVirtualKeyA(key.virtualKey, MAPVK_VK_TO_VSC));
    key.extended = false;
    return true;
}

const KeyName* FindKey(const char* name) {
    for (const KeyName& key : Keys) {
        if (std::strcmp(key.name, name) == 0) {
            return &key;
        }
    }
    return nullptr;
}

bool SendKey(WORD virtualKey, WORD scanCode, bool extended, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scanCode;
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    const bool sent = SendOneInput(input);
    Sleep(KeyGapMs);
    return sent;
}

} // namespace

ProbeExit RunHotkey(ProbeArgs args) {
    const bool clock = TakeFlag(args, "--clock");
    return args.count == 1 ? PressHotkey(args.values[0], clock)
                           : UsageError("hotkey takes up, down, num4, num5 or num6 [--clock]");
}

ProbeExit PressHotkey(const char* name, bool printClock, double* pressedAt) {
    const KeyName* key = FindKey(name);
    if (key == nullptr) {
        return UsageError("hotkey takes up, down, num4, num5 or num6");
    }
    double pressedMs = 0;
    bool sent =
        SendKey(VK_CONTROL, ControlScan, false, false) && SendKey(VK_MENU, AltScan, false, false);
    if (sent) {
        pressedMs = CounterMs();
        sent = SendKey(key->virtualKey, key->scanCode, key->extended, false) &&
               SendKey(key->virtualKey, key->scanCode, key->extended, true);
    }
    // The modifiers go up even when a press failed, so that none is left held down.
    const bool altReleased = SendKey(VK_MENU, AltScan, false, true);
    const bool controlReleased = SendKey(VK_CONTROL, ControlScan, false, true);
    const bool released = altReleased && controlReleased;
    if (sent && printClock) {
        std::printf("pressed %.3f\n", pressedMs);
    }
    if (pressedAt != nullptr) {
        *pressedAt = pressedMs;
    }
    return sent && released ? ProbeOk : ProbeNotFound;
}

ProbeExit RunKeys(ProbeArgs args) {
    if (args.count == 0) {
        return UsageError("keys takes one or more keys");
    }
    for (int i = 0; i < args.count; ++i) {
        KeyName key;
        const KeyName* named = FindKey(args.values[i]);
        if (named != nullptr) {
            key = *named;
        } else if (!FindCharacterKey(args.values[i], key)) {
            return UsageError(
                "keys takes escape, return, tab, space, the arrows, a letter or digit");
        }
        if (!SendKey(key.virtualKey, key.scanCode, key.extended, false) ||
            !SendKey(key.virtualKey, key.scanCode, key.extended, true)) {
            return ProbeNotFound;
        }
    }
    return ProbeOk;
}
