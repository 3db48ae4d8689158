#pragma once

// The front panel's keys: what each is called, where it sits, when it shows and which of the
// unit's own keys it presses.

#include "sim/unit_model.h"

#include <cstddef>
#include <cstdint>

// The keys of the current source only share the lower row, as the transport keys of a mini
// system serve whichever deck is selected.
enum PanelKeyGroup : std::uint8_t {
    KeyGroupAlways,
    KeyGroupCd,
    KeyGroupTuner,
    KeyGroupMd,
    KeyGroupTape,
    KeyGroupInputLevel, // MD and tape/aux
};

// Printed symbols, drawn as shapes so that they stay sharp at every scale.
enum PanelGlyph : std::uint8_t {
    GlyphNone,
    GlyphPlay,
    GlyphPlayPause,
    GlyphStop,
    GlyphPrevious,
    GlyphNext,
    GlyphEject,
    GlyphReverse,
    GlyphRewind,
    GlyphFastForward,
    GlyphMinus,
    GlyphPlus,
};

// Slots 0 to 7 make the upper row, 8 to 16 the lower one.
constexpr int PanelUpperSlots = 8;
constexpr int PanelLowerSlots = 9;
constexpr int PanelSlotCount = PanelUpperSlots + PanelLowerSlots;

struct PanelKey {
    int id;              // control id and WM_COMMAND id; never IDOK or IDCANCEL
    const char* name;    // the key's window text: its accessible name, & before its access key
    const char* caption; // printed above the glyph, or alone; null: the name itself
    PanelGlyph glyph;
    PanelKeyGroup group;
    int slot;
    std::uint32_t code; // the unit's key it presses; 0: decided from the unit's state
    bool repeats;       // held down, it presses again and again
};

// Room for every key of the table, for those who keep something per key.
constexpr std::size_t PanelKeyLimit = 40;

extern const PanelKey PanelKeys[];
extern const std::size_t PanelKeyCount;

constexpr int PanelPowerKeyId = 100;

const PanelKey* FindPanelKey(int id);

// Whether the key is on the panel while source (the status block's numbering) is selected.
bool PanelKeyShown(const PanelKey& key, int source);

// The code the key presses on a unit in this state; 0 when it has nothing to press (VOL+ at
// the top of the scale).
std::uint32_t PanelKeyCode(const PanelKey& key, const SimUnitState& state);
