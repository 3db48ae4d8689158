#pragma once

#include "unit/unit_status.h"

#include <cstddef>
#include <cstdint>

// What the on-screen display says after the program has sent the unit a command without a
// menu (a volume hotkey or drag step, a middle or double click on the icon, a CD hotkey). In
// the words of the unit's own display: upper-case ASCII, drawn in dot-matrix characters.

constexpr std::size_t OsdWordSize = 12;

// The colour of the value and the bar, as the unit lights its own display: bright, the mute
// annunciator's amber, or dimmed in standby.
enum class OsdTone : std::uint8_t { Lit, Muted, Standby };
constexpr std::int32_t OsdNoBar = -1;

struct OsdContent {
    char caption[OsdWordSize]; // small, at the left: "VOLUME", "CD", or ""
    char value[OsdWordSize];   // large, at the right: "40", "MUTE", "STANDBY"; "" shows nothing
    char detail[OsdWordSize];  // small, below the value: "TRACK 03", or ""
    std::int32_t barVolume;    // 0..80 lights the volume bar that far; OsdNoBar hides it
    OsdTone tone;

    friend bool operator==(const OsdContent&, const OsdContent&) = default;
};

// The display for the command code sent, told by the status that the program read just before
// it (null when it read none). A command that an off unit ignores shows STANDBY instead; a code
// the display has no words for shows nothing (an empty value), MuteToggle among them.
OsdContent DescribeOsd(std::uint32_t sent, const UnitStatus* before);

// The display after a mute toggle, told by the status read right after it: MUTE, the volume
// again, or STANDBY for an off unit, which ignored it.
OsdContent DescribeMute(const UnitStatus& after);

constexpr std::size_t OsdTextSize = 3 * OsdWordSize;

// The display's words on one line, "VOLUME 40", "CD PLAY TRACK 03": its window's text.
void OsdText(const OsdContent& content, char (&text)[OsdTextSize]);
