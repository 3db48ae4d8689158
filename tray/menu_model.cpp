#include "tray/menu_model.h"

#include "tray/bounded_text.h"
#include "unit/command_code.h"
#include "unit/unit_status.h"

namespace {

constexpr std::int32_t EntriesPerColumn = 20;

struct Key {
    std::uint32_t id;
    const char* text;
};

constexpr Key TunerKeys[] = {
    {TunerBandItem, "AM/FM(&B)"},
    {TunerAutoMonoItem, "AUTO/MONO(&M)"},
    {TunerPresetNextItem, "次プリセット >>|(&F)"},
    {TunerPresetPrevItem, "前プリセット <<|(&B)"},
};

// The play key's label follows the disc: pausing is what a playing disc offers.
constexpr Key CdKeysAfterPlay[] = {
    {CdStopItem, "□ (停止) (&S)"},
    {CdNextItem, ">>| (次トラック) (&F)"},
    {CdPrevItem, "<<| (前トラック) (&B)"},
    {CdEjectItem, "△ (取り出し)(&E)"},
};

// Not the CD's strings: the previous-track arrow and the blank before (&E) differ.
constexpr Key MdKeys[] = {
    {MdPlayItem, "|> (再生)(&P)"},         {MdStopItem, "□ (停止) (&S)"},
    {MdNextItem, ">>| (次トラック) (&F)"}, {MdPrevItem, "|<< (前トラック) (&B)"},
    {MdEjectItem, "△ (取り出し) (&E)"},
};

constexpr Key TapeKeys[] = {
    {TapePlayForwardItem, "|> (順)(&P)"},  {TapePlayReverseItem, "<| (逆) (&R)"},
    {TapeFastForwardItem, ">> (FF) (&F)"}, {TapeRewindItem, "<< (REW) (&B)"},
    {TapeStopItem, "□ (停止) (&S)"},
};

constexpr Key InputLevelKeys[] = {
    {InputLevelUpItem, "InputLevel + (&I)"},
    {InputLevelDownItem, "InputLevel - (&K)"},
};

struct CommandForItem {
    std::uint32_t id;
    std::uint32_t code;
};

constexpr CommandForItem SentCommands[] = {
    {TunerBandItem, TunerBand},
    {TunerAutoMonoItem, TunerAutoMono},
    {TunerPresetNextItem, TunerPresetNext},
    {TunerPresetPrevItem, TunerPresetPrev},
    {CdPlayPauseItem, CdPlayPause},
    {CdStopItem, CdStop},
    {CdNextItem, CdNext},
    {CdPrevItem, CdPrev},
    {CdEjectItem, CdEject},
    {NbKeyItem, NbKey},
    {TapePlayForwardItem, TapePlayForward},
    {TapePlayReverseItem, TapePlayReverse},
    {TapeStopItem, TapeStop},
    {TapeRewindItem, TapeRewind},
    {TapeFastForwardItem, TapeFastForward},
    {MdPlayItem, MdPlay},
    {MdStopItem, MdStop},
    {MdNextItem, MdNext},
    {MdPrevItem, MdPrev},
    {MdEjectItem, MdEject},
    {InputLevelUpItem, InputLevelUp},
    {InputLevelDownItem, InputLevelDown},
};

// Reached only when a column is full. Not a constant expression: a column built at compile time
// (EveryColumnFits) that would overflow fails to compile instead.
void ColumnIsFull() {}

// The columns are built by constant expressions, so that every one of them can be built at
// compile time; at run time an entry that does not fit is dropped, never written past the array.
constexpr bool Add(MenuColumn& column, std::uint32_t id, std::uint32_t flags, const char* text) {
    if (column.count >= MaxColumnEntries) {
        ColumnIsFull();
        return false;
    }
    MenuEntry& entry = column.entries[column.count++];
    entry.id = id;
    entry.flags = flags;
    CopyText(entry.text, text);
    return true;
}

template <std::size_t N>
constexpr void AddKeys(MenuColumn& column, const Key (&keys)[N], std::uint32_t flags) {
    for (const Key& key : keys) {
        Add(column, key.id, flags, key.text);
    }
}

constexpr void AddSeparator(MenuColumn& column) {
    Add(column, ColumnSeparatorItem, MenuSeparator, "-");
}

constexpr void AddTunerKeys(MenuColumn& column) {
    AddKeys(column, TunerKeys, 0);
    AddSeparator(column);
    Add(column, 0, MenuPopup, "プリセット(&P)");
}

constexpr void AddCdKeys(MenuColumn& column, std::int32_t cdPlayState) {
    const std::uint32_t flags = cdPlayState == CdNoDisc ? MenuGrayed | MenuDisabled : 0;
    Add(column, CdPlayPauseItem, flags,
        cdPlayState == CdPlaying ? "| | (一時停止)(&P)" : "|> (再生)(&P)");
    AddKeys(column, CdKeysAfterPlay, flags);
    AddSeparator(column);
    Add(column, 0, flags | MenuPopup, "トラック(&T)");
}

constexpr void AddMdKeys(MenuColumn& column) {
    AddKeys(column, MdKeys, 0);
    AddSeparator(column);
    AddKeys(column, InputLevelKeys, 0);
}

constexpr void AddTapeKeys(MenuColumn& column) {
    AddKeys(column, TapeKeys, 0);
    AddSeparator(column);
    AddKeys(column, InputLevelKeys, 0);
}

constexpr void AddStatusLine(MenuColumn& column, const TrayUnitState& state) {
    // The text may come from anywhere: the entry, as long as its buffer, reads no further.
    static_assert(sizeof(MenuEntry::text) <= sizeof(state.statusText));
    Add(column, StatusLineItem, MenuBarBreak, state.statusText);
    AddSeparator(column);
}

constexpr MenuColumn BuildColumn(const TrayUnitState& state) {
    MenuColumn column = {};
    switch (state.currentSourceItem) {
    case TunerItem:
        AddStatusLine(column, state);
        AddTunerKeys(column);
        break;
    case CdItem:
        AddStatusLine(column, state);
        AddCdKeys(column, state.cdPlayState);
        break;
    case MdItem:
        AddStatusLine(column, state);
        AddMdKeys(column);
        break;
    case TapeAuxItem:
        AddStatusLine(column, state);
        AddTapeKeys(column);
        break;
    // PC USB has no keys of its own, and no status line either.
    default: break;
    }
    return column;
}

// How many entries a column has depends on the source alone.
constexpr bool EveryColumnFits() {
    const std::int32_t sources[] = {PcUsbItem, TunerItem, CdItem, MdItem, TapeAuxItem};
    for (const std::int32_t source : sources) {
        TrayUnitState state = {};
        state.currentSourceItem = source;
        BuildColumn(state);
    }
    return true;
}
static_assert(EveryColumnFits(), "a column holds more entries than MaxColumnEntries");

} // namespace

const std::uint32_t GrayedWhenOff[6] = {TapeAuxItem, CdItem,    MdItem,
                                        TunerItem,   PcUsbItem, MuteItem};

MenuColumn SourceColumn(const TrayUnitState& state) {
    return BuildColumn(state);
}

bool AddColumnEntry(MenuColumn& column, std::uint32_t id, std::uint32_t flags, const char* text) {
    return Add(column, id, flags, text);
}

NumberedList NumberedListFor(const TrayUnitState& state) {
    if (state.currentSourceItem != CdItem) {
        return {TunerPresetEntries, state.tunerPreset};
    }
    // A malformed status can report more tracks than the numbered ids hold.
    std::int32_t count = state.cdTrackCount;
    if (count < 0) {
        count = 0;
    } else if (count > MaxNumberedEntries) {
        count = MaxNumberedEntries;
    }
    return {count, state.cdTrack};
}

MenuEntry NumberedEntry(std::int32_t number, std::int32_t current) {
    MenuEntry entry = {};
    entry.id = NumberedItemBase + static_cast<std::uint32_t>(number);
    if (number == current) {
        entry.flags |= MenuChecked;
    }
    // Entries 21, 41, 61 and 81 start a new column.
    if (number > EntriesPerColumn && number % EntriesPerColumn == 1) {
        entry.flags |= MenuBarBreak;
    }
    FormatText(entry.text, "%d", static_cast<int>(number));
    return entry;
}

MenuOperation MenuCommandOperation(std::uint16_t id, std::int32_t currentSourceItem) {
    if (id >= PcUsbItem && id <= TapeAuxItem) {
        // The source entries are numbered like the unit's inputs, PC USB first.
        return {MenuAction::SelectInput, static_cast<std::uint32_t>(id - PcUsbItem + 1)};
    }
    if (id > NumberedItemBase && id <= NumberedItemBase + MaxNumberedEntries) {
        const std::uint32_t number = id - NumberedItemBase;
        return {MenuAction::Send,
                NumberedCommand(currentSourceItem == TunerItem ? TunerPreset : CdTrack, number)};
    }
    switch (id) {
    case MuteItem: return {MenuAction::ToggleMute, 0};
    case ExitItem: return {MenuAction::CloseWindow, 0};
    default: break;
    }
    for (const CommandForItem& command : SentCommands) {
        if (command.id == id) {
            return {MenuAction::Send, command.code};
        }
    }
    return {MenuAction::Nothing, 0};
}
