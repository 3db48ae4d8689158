#pragma once

#include "res/resource_ids.h"
#include "tray/tray_unit_state.h"

#include <cstddef>
#include <cstdint>

// The popup menu of the tray icon without the Win32 around it: which entries the current
// source adds, the numbered list of tracks or presets, and what each chosen entry does. Every
// function takes any TrayUnitState, however odd its numbers.

// The menu resource holds one popup: the source entries, mute, N.B. and exit.
constexpr std::int32_t ContextMenuResource = IDR_CONTEXT_MENU;

// Command ids of the menu's entries besides the source entries (SourceItem).
enum MenuItem : std::uint32_t {
    StatusLineItem = 1024, // shows the source line; no command
    ColumnSeparatorItem = 1025,
    TunerBandItem = 1026,
    TunerAutoMonoItem = 1027,
    TunerPresetNextItem = 1028,
    TunerPresetPrevItem = 1029,
    CdPlayPauseItem = 1040,
    CdStopItem = 1041,
    CdNextItem = 1042,
    CdPrevItem = 1043,
    CdEjectItem = 1044,
    MuteItem = IDM_MUTE,
    ExitItem = IDM_EXIT,
    NbKeyItem = IDM_NB_KEY,
    NumberedItemBase = 41001, // entry n of the numbered list is NumberedItemBase + n
    TapePlayForwardItem = 41101,
    TapePlayReverseItem = 41102,
    TapeStopItem = 41103,
    TapeRewindItem = 41104,
    TapeFastForwardItem = 41105,
    MdPlayItem = 41201,
    MdStopItem = 41202,
    MdNextItem = 41203,
    MdPrevItem = 41204,
    MdEjectItem = 41205,
    InputLevelUpItem = 41301,
    InputLevelDownItem = 41302,
};

// The numbered ids run up to 41100; 41101 and up belong to the tape keys.
constexpr std::int32_t MaxNumberedEntries = 99;
// The tuner's presets, listed whatever the source unless the CD is current.
constexpr std::int32_t TunerPresetEntries = 40;

// Entry flags, with the values of the Windows MF_ flags they stand for.
enum MenuFlag : std::uint32_t {
    MenuGrayed = 0x1,
    MenuDisabled = 0x2,
    MenuChecked = 0x8,
    MenuPopup = 0x10, // opens the numbered list
    MenuBarBreak = 0x20,
    MenuSeparator = 0x800,
};

// Long enough for the status line, the longest text an entry shows.
constexpr std::size_t MenuTextSize = StatusTextSize;

struct MenuEntry {
    std::uint32_t id; // 0 for the entry that opens the numbered list
    std::uint32_t flags;
    char text[MenuTextSize];
};

// The status line, a separator and at most eight keys.
constexpr std::size_t MaxColumnEntries = 10;

struct MenuColumn {
    std::size_t count; // 0: the source has no column (PC USB, or no source known yet)
    MenuEntry entries[MaxColumnEntries];
};

// The entries appended to the right of the resource's entries for the current source.
MenuColumn SourceColumn(const TrayUnitState& state);

// Appends an entry to a column, as SourceColumn does; one that does not fit is dropped (false).
bool AddColumnEntry(MenuColumn& column, std::uint32_t id, std::uint32_t flags, const char* text);

// The numbered list: the CD's tracks while the CD is the source, the tuner's presets
// otherwise; current is the entry to check.
struct NumberedList {
    std::int32_t count;
    std::int32_t current;
};

NumberedList NumberedListFor(const TrayUnitState& state);

// Entry number (1..count) of the numbered list, in columns of 20.
MenuEntry NumberedEntry(std::int32_t number, std::int32_t current);

// The entries that a unit found off grays, in the order they are grayed.
extern const std::uint32_t GrayedWhenOff[6];

enum class MenuAction {
    Nothing,
    Send,        // value: the command code
    SelectInput, // value: the input number, 1 PC USB .. 5 tape/aux
    ToggleMute,
    CloseWindow,
};

struct MenuOperation {
    MenuAction action;
    std::uint32_t value;
};

// What a chosen entry does. The numbered ids are read by the source current when the command
// arrives, not when the popup was built.
MenuOperation MenuCommandOperation(std::uint16_t id, std::int32_t currentSourceItem);
