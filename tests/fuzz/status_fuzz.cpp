// The status block's road to the screen: decoding, the refresh's icon, tooltip and tray state,
// from any tray state the program could hold to any sequence of blocks the driver could send.
//
// Input: the tray state (statusText 100 bytes, cut at its last byte; currentSourceItem,
// tunerPreset, cdTrack, cdTrackCount and cdPlayState as 32-bit little-endian; one byte of flags,
// bit 0 powerOn, bit 1 muted), then refreshes of 33 bytes each: a byte whose bit 0 says the read
// succeeded, and the 32-byte status block.
#include "fuzz_support.h"
#include "tray/program_name.h"
#include "tray/status_text.h"
#include "tray/tray_icons.h"
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

// What the user gets to see of the state after a refresh. The popup menu's model, which is
// built from the same tray state, belongs here as well once it is part of the program.
void ShowTrayState(const TrayUnitState& state, const RefreshOutcome& outcome) {
    (void)state;
    char tooltip[TooltipSize];
    FormatTooltip(outcome.tooltipSuffix, tooltip);
    // Every text the refresh builds fits the tooltip field: nothing is cut.
    FUZZ_CHECK(std::strlen(tooltip) ==
               std::strlen(ProgramName) + std::strlen(outcome.tooltipSuffix));
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
