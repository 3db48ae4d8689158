#pragma once

// What the menu hook (menu_hook.cpp, loaded into the program's process) tells deckprobe about
// the program's open popup menus. Menus belong to their process, so only code inside the
// program can read them; the hook answers a registered message sent to the program's window by
// writing this record into a named file mapping that deckprobe holds.

#include <windows.h>

inline constexpr char MenuQueryMessageName[] = "DeckprobeMenuQuery";
inline constexpr char MenuReportMappingName[] = "DeckprobeMenuReport";
inline constexpr char MenuHookDllName[] = "deckprobe_menuhook.dll";
inline constexpr char MenuHookProcName[] = "DeckprobeMenuHook";

constexpr int MaxReportPopups = 4;
constexpr int MaxReportItems = 160;
constexpr int MaxReportText = 128;

struct MenuReportItem {
    int popup; // index into MenuReport::popups
    UINT id;
    UINT type;  // MFT_ flags
    UINT state; // MFS_ flags
    BOOL opensSubmenu;
    BOOL rectKnown;              // false until the popup is laid out on screen
    RECT rect;                   // screen coordinates
    wchar_t text[MaxReportText]; // as the menu holds it
};

struct MenuReport {
    BOOL answered;
    BOOL foreground;              // the program's thread has the keyboard: keys reach the popup
    int popupCount;               // the popup opened first comes first
    RECT popups[MaxReportPopups]; // their windows, in screen coordinates
    int itemCount;
    MenuReportItem items[MaxReportItems];
};
