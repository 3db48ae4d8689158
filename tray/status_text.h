#pragma once

#include "tray/tray_unit_state.h"
#include "unit/unit_status.h"

#include <cstddef>
#include <cstdint>

// The tooltip field holds 64 bytes with its terminator; the display name takes 15 of them.
constexpr std::size_t TooltipSize = 64;

extern const char UnreachableSuffix[];
extern const char PowerOffSuffix[];

struct RefreshOutcome {
    std::int32_t iconIndex;
    char tooltipSuffix[StatusTextSize];
};

// One status refresh without the Win32 around it: takes the decoded status (null when the read
// failed), brings the unit fields of the tray state up to date and gives the icon and tooltip
// suffix to show.
RefreshOutcome RefreshTrayUnitState(const UnitStatus* status, TrayUnitState& state);

// "Norvik Deckhand" followed directly by suffix, cut to the tooltip field.
void FormatTooltip(const char* suffix, char (&tooltip)[TooltipSize]);
