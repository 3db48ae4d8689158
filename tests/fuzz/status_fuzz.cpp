// The status block's road to the screen: decoding, the refresh's icon, tooltip and tray state,
// and the popup menu built from that state, from any tray state the program could hold and any
// sequence of blocks the driver could send.
//
// Input: the tray state (statusText 100 bytes, cut at its last byte; currentSourceItem,
// tunerPreset, cdTrack, cdTrackCount and cdPlayState as 32-bit little-endian; one byte of flags,
// bit 0 powerOn, bit 1 muted), then refreshes of 33 bytes each: a byte whose bit 0 says the read
// succeeded, and the 32-byte status block.
#include "fuzz_support.h"
#include "tray/menu_model.h"
#include "tray/program_name.h"
#include "tray/status_text.h"
#include "tray/tray_icons.h"
#include "unit/command_code.h"
#include "unit/unit_status.h"

namespace {

TrayUnitState TakeTrayState(ByteReader& input) {
    TrayUnitState state;
    std::memset(&state, 0, sizeof(state));
    input.Take(state.statusText, sizeof(state.statusText));
    // The program only ever writes it through the bounded formatters.
    state.statusText[sizeof(state.statusText) - 1] = '\0';
    state.currentSourceItem = input.Take<std::int32_t>();
    state.tunerPreset = input.Take<std::int32_t>();
    state.cdTrack = input.Take<std::int32_t>();
    state.cdTrackCount = input.Take<std::int32_t>();
    state.cdPlayState = input.Take<std::int32_t>();
    const std::uint8_t flags = input.Take<std::uint8_t>();
    state.powerOn = (flags & 1) != 0;
    state.muted = (flags & 2) != 0;
    return state;
}

bool SameSourceFields(const TrayUnitState& a, const TrayUnitState& b) {
    return std::memcmp(a.statusText, b.statusText, sizeof(a.statusText)) == 0 &&
           a.currentSourceItem == b.currentSourceItem && a.tunerPreset == b.tunerPreset &&
           a.cdTrack == b.cdTrack && a.cdTrackCount == b.cdTrackCount &&
           a.cdPlayState == b.cdPlayState;
}

// What the user gets to see of the state after a refresh: the tooltip, and the popup menu that
// is built from the same tray state.
void ShowTrayState(const TrayUnitState& state, const RefreshOutcome& outcome) {
    char tooltip[TooltipSize];
    FormatTooltip(outcome.tooltipSuffix, tooltip);
    // Every text the refresh builds fits the tooltip field: nothing is cut.
    FUZZ_CHECK(std::strlen(tooltip) ==
               std::strlen(ProgramName) + std::strlen(outcome.tooltipSuffix));

    const MenuColumn column = SourceColumn(state);
    FUZZ_CHECK(column.count <= MaxColumnEntries);
    for (std::size_t i = 0; i < column.count; ++i) {
        FUZZ_CHECK(IsTerminated(column.entries[i].text, sizeof(column.entries[i].text)));
    }
    const NumberedList list = NumberedListFor(state);
    FUZZ_CHECK(list.count >= 0 && list.count <= MaxNumberedEntries);
    for (std::int32_t number = 1; number <= list.count; ++number) {
        const MenuEntry entry = NumberedEntry(number, list.current);
        FUZZ_CHECK(IsTerminated(entry.text, sizeof(entry.text)));
        // Chosen, an entry sends its own number and nothing carries into the command's family.
        const MenuOperation chosen =
            MenuCommandOperation(static_cast<std::uint16_t>(entry.id), state.currentSourceItem);
        FUZZ_CHECK(chosen.action == MenuAction::Send);
        FUZZ_CHECK(chosen.value == NumberedCommand(TunerPreset, number) ||
                   chosen.value == NumberedCommand(CdTrack, number));
    }
}

void Refresh(TrayUnitState& state, bool read, const std::uint8_t (&block)[StatusBlockSize]) {
    const TrayUnitState before = state;
    const UnitStatus status = DecodeStatusBlock(block);
    const RefreshOutcome outcome = RefreshTrayUnitState(read ? &status : nullptr, state);
    FUZZ_CHECK(IsTerminated(outcome.tooltipSuffix, sizeof(outcome.tooltipSuffix)));
    FUZZ_CHECK(IsTerminated(state.statusText, sizeof(state.statusText)));
    if (!read) {
        FUZZ_CHECK(outcome.iconIndex == IconIndexOf(UnreachableIcon));
        FUZZ_CHECK(SameSourceFields(state, before) && state.powerOn == before.powerOn &&
                   state.muted == before.muted);
    } else if (!status.powerOn) {
        // Off, only power and mute change: the rest stays for the menu.
        FUZZ_CHECK(outcome.iconIndex == IconIndexOf(PowerOffIcon));
        FUZZ_CHECK(SameSourceFields(state, before) && !state.powerOn && !state.muted);
    } else {
        FUZZ_CHECK(outcome.iconIndex == IconIndexOf(PowerOnIcon));
        FUZZ_CHECK(state.powerOn && state.muted == status.muted);
    }
    ShowTrayState(state, outcome);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    TrayUnitState state = TakeTrayState(input);
    do {
        const bool read = (input.Take<std::uint8_t>() & 1) != 0;
        std::uint8_t block[StatusBlockSize];
        input.Take(block, sizeof(block));
        Refresh(state, read, block);
    } while (input.Left() > 0);
    return 0;
}
