#include "tray/menu_model.h"
#include "unit/command_code.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Entry = std::tuple<std::uint32_t, std::uint32_t, std::string>; // id, flags, text
using Entries = std::vector<Entry>;

TrayUnitState StateWith(std::int32_t sourceItem, const char* statusText) {
    TrayUnitState state = {};
    state.currentSourceItem = sourceItem;
    state.powerOn = true;
    std::snprintf(state.statusText, sizeof(state.statusText), "%s", statusText);
    return state;
}

Entries Listed(const MenuColumn& column) {
    Entries entries;
    for (std::size_t i = 0; i < column.count; ++i) {
        const MenuEntry& e = column.entries[i];
        entries.emplace_back(e.id, e.flags, e.text);
    }
    return entries;
}

Entries Head(const char* statusLine) {
    return {{1024, 0x20, statusLine}, {1025, 0x800, "-"}};
}

Entries operator+(Entries a, const Entries& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Entries CdKeys(std::uint32_t f, const char* play) {
    return {{1040, f, play},
            {1041, f, "□ (停止) (&S)"},
            {1042, f, ">>| (次トラック) (&F)"},
            {1043, f, "<<| (前トラック) (&B)"},
            {1044, f, "△ (取り出し)(&E)"},
            {1025, 0x800, "-"},
            {0, f | 0x10, "トラック(&T)"}};
}

const Entries InputLevelKeys = {{41301, 0, "InputLevel + (&I)"}, {41302, 0, "InputLevel - (&K)"}};

TEST(MenuColumn, EntriesOfEachSource) {
    struct Case {
        const char* name;
        TrayUnitState state;
        Entries expected;
    };
    TrayUnitState noDisc = StateWith(CdItem, "[CD No Disc]");
    noDisc.cdPlayState = CdNoDisc;
    TrayUnitState playing = StateWith(CdItem, "[CD-PLAY: 03 02:15]");
    playing.cdPlayState = 1;
    TrayUnitState paused = StateWith(CdItem, "[CD-PAUSE: 03 02:15]");
    paused.cdPlayState = 2;
    // Off at the last refresh: the last known source keeps its column.
    TrayUnitState off = StateWith(MdItem, "[MD Input=+3]");
    off.powerOn = false;
    const Case cases[] = {
        {"tuner", StateWith(TunerItem, "[TUNER 07: FM 87.50MHz]"),
         Head("[TUNER 07: FM 87.50MHz]") + Entries{{1026, 0, "AM/FM(&B)"},
                                                   {1027, 0, "AUTO/MONO(&M)"},
                                                   {1028, 0, "次プリセット >>|(&F)"},
                                                   {1029, 0, "前プリセット <<|(&B)"},
                                                   {1025, 0x800, "-"},
                                                   {0, 0x10, "プリセット(&P)"}}},
        {"CD without a disc", noDisc, Head("[CD No Disc]") + CdKeys(3, "|> (再生)(&P)")},
        {"CD playing", playing, Head("[CD-PLAY: 03 02:15]") + CdKeys(0, "| | (一時停止)(&P)")},
        {"CD paused", paused, Head("[CD-PAUSE: 03 02:15]") + CdKeys(0, "|> (再生)(&P)")},
        {"MD, unit off", off,
         Head("[MD Input=+3]") +
             Entries{{41201, 0, "|> (再生)(&P)"},
                     {41202, 0, "□ (停止) (&S)"},
                     {41203, 0, ">>| (次トラック) (&F)"},
                     {41204, 0, "|<< (前トラック) (&B)"},
                     {41205, 0, "△ (取り出し) (&E)"},
                     {1025, 0x800, "-"}} +
             InputLevelKeys},
        {"tape/aux", StateWith(TapeAuxItem, "[TAPE/AUX Input= 0]"),
         Head("[TAPE/AUX Input= 0]") +
             Entries{{41101, 0, "|> (順)(&P)"},
                     {41102, 0, "<| (逆) (&R)"},
                     {41105, 0, ">> (FF) (&F)"},
                     {41104, 0, "<< (REW) (&B)"},
                     {41103, 0, "□ (停止) (&S)"},
                     {1025, 0x800, "-"}} +
             InputLevelKeys},
        {"PC USB", StateWith(PcUsbItem, ""), {}},
        {"before any refresh", TrayUnitState{}, {}},
        {"not a source", StateWith(MuteItem, "x"), {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Listed(SourceColumn(c.state)), c.expected) << c.name;
    }
}

TEST(MenuColumn, StatusLineIsReadNoFurtherThanItsBuffer) {
    TrayUnitState state = StateWith(TunerItem, "");
    std::memset(state.statusText, 'x', sizeof(state.statusText));
    const MenuColumn column = SourceColumn(state);
    ASSERT_EQ(column.count, 8u);
    EXPECT_EQ(std::string(column.entries[0].text), std::string(StatusTextSize - 1, 'x'));
}

TEST(MenuColumn, AnEntryPastTheLastIsDropped) {
    struct {
        MenuColumn column;
        MenuEntry next;
    } guarded = {};
    for (std::size_t i = 0; i < MaxColumnEntries; ++i) {
        EXPECT_TRUE(AddColumnEntry(guarded.column, 1, 0, "fits"));
    }
    EXPECT_FALSE(AddColumnEntry(guarded.column, 2, 0, "one too many"));
    EXPECT_EQ(guarded.column.count, MaxColumnEntries);
    EXPECT_EQ(guarded.next.id, 0u);
    EXPECT_EQ(guarded.next.text[0], '\0');
}

TEST(NumberedList, CountCheckedEntryAndColumns) {
    struct Case {
        const char* name;
        std::int32_t sourceItem, trackCount, track, preset;
        int count;
        std::vector<int> checked, breaks;
    };
    const std::vector<int> fiveColumns = {21, 41, 61, 81};
    const Case cases[] = {
        {"tuner, preset 7", TunerItem, 12, 3, 7, 40, {7}, {21}},
        {"CD, 12 tracks", CdItem, 12, 3, 7, 12, {3}, {}},
        {"CD, 25 tracks", CdItem, 25, 25, 7, 25, {25}, {21}},
        {"CD, 99 tracks", CdItem, 99, 1, 7, 99, {1}, fiveColumns},
        // A malformed BCD count (0xA0): entry 100 would take 41101, the tape's play key.
        {"CD, 100 tracks", CdItem, 100, 100, 7, 99, {}, fiveColumns},
        {"CD, negative count", CdItem, -5, 1, 7, 0, {}, {}},
        {"PC USB: presets, never shown", PcUsbItem, 12, 3, 9, 40, {9}, {21}},
        {"MD: presets", MdItem, 12, 3, 40, 40, {40}, {21}},
        {"before any refresh", NoSourceItem, 0, 0, 0, 40, {}, {21}},
    };
    for (const Case& c : cases) {
        TrayUnitState state = {};
        state.currentSourceItem = c.sourceItem;
        state.cdTrackCount = c.trackCount;
        state.cdTrack = c.track;
        state.tunerPreset = c.preset;
        const NumberedList list = NumberedListFor(state);
        ASSERT_EQ(list.count, c.count) << c.name;
        std::vector<int> checked, breaks;
        for (int number = 1; number <= list.count; ++number) {
            const MenuEntry entry = NumberedEntry(number, list.current);
            EXPECT_EQ(entry.id, 41001u + number) << c.name;
            EXPECT_EQ(entry.text, std::to_string(number)) << c.name;
            if (entry.flags & MenuChecked) {
                checked.push_back(number);
            }
            if (entry.flags & MenuBarBreak) {
                breaks.push_back(number);
            }
        }
        EXPECT_EQ(checked, c.checked) << c.name;
        EXPECT_EQ(breaks, c.breaks) << c.name;
    }
}

TEST(MenuCommand, IdAndSourceToOperation) {
    using A = MenuAction;
    struct Case {
        std::uint16_t id;
        std::int32_t sourceItem;
        MenuAction action;
        std::uint32_t value;
    };
    const Case cases[] = {
        {40001, TunerItem, A::SelectInput, 1},
        {40003, TunerItem, A::SelectInput, 3},
        {40005, CdItem, A::SelectInput, 5},
        {40006, TunerItem, A::ToggleMute, 0},
        {40007, CdItem, A::CloseWindow, 0},
        {40010, CdItem, A::Send, 0xB802014B},
        {1026, TunerItem, A::Send, 0xB802008F},
        {1027, TunerItem, A::Send, 0xB8020118},
        {1028, TunerItem, A::Send, 0xB8020107},
        {1029, TunerItem, A::Send, 0xB8020106},
        {1040, CdItem, A::Send, 0xB80200CB},
        {1041, CdItem, A::Send, 0xB80200C9},
        {1042, CdItem, A::Send, 0xB80200CF},
        {1043, CdItem, A::Send, 0xB80200CE},
        {1044, CdItem, A::Send, 0xB802018D},
        {41101, TapeAuxItem, A::Send, 0xB80200D9},
        {41102, TapeAuxItem, A::Send, 0xB80200D8},
        {41103, TapeAuxItem, A::Send, 0xB80200DD},
        {41104, TapeAuxItem, A::Send, 0xB80200DA},
        {41105, TapeAuxItem, A::Send, 0xB80200DB},
        {41201, MdItem, A::Send, 0xB80201D8},
        {41202, MdItem, A::Send, 0xB80201D9},
        {41203, MdItem, A::Send, 0xB80201DD},
        {41204, MdItem, A::Send, 0xB80201DC},
        {41205, MdItem, A::Send, 0xB8020340},
        {41301, MdItem, A::Send, 0xB80201C1},
        {41302, TapeAuxItem, A::Send, 0xB80201C0},
        // The numbered ids, read by the source of the moment.
        {41026, TunerItem, A::Send, 0xB8024C19},
        {41006, CdItem, A::Send, 0xB8024405},
        {41002, TunerItem, A::Send, 0xB8024C01},
        {41100, TunerItem, A::Send, 0xB8024C63},
        {41100, MdItem, A::Send, 0xB8024463},
        {41002, NoSourceItem, A::Send, 0xB8024401},
        // Entries with no command, and ids that are none of the menu's.
        {1024, CdItem, A::Nothing, 0},
        {1025, CdItem, A::Nothing, 0},
        {41001, TunerItem, A::Nothing, 0},
        {40008, TunerItem, A::Nothing, 0},
        {0, TunerItem, A::Nothing, 0},
        {0xFFFF, TunerItem, A::Nothing, 0},
    };
    for (const Case& c : cases) {
        const MenuOperation operation = MenuCommandOperation(c.id, c.sourceItem);
        EXPECT_EQ(operation.action, c.action) << c.id << " with source " << c.sourceItem;
        EXPECT_EQ(operation.value, c.value) << c.id << " with source " << c.sourceItem;
    }
}

} // namespace
