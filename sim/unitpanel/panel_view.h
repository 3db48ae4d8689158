#pragma once

// What the front panel's display shows for the unit's state, and the same in words for the
// display's window text.

#include "sim/unit_model.h"

#include <cstddef>

// How far the panel got in reaching the unit through the simulated driver's control channel.
enum class PanelLink : unsigned char {
    NoDriver,  // the driver's control device cannot be opened
    NoUnit,    // the driver has no unit of that number
    Unplugged, // the unit is off the USB bus
    Ready,
};

constexpr std::size_t PanelLineSize = 24;
constexpr int PanelNoSource = -1;

struct PanelView {
    PanelLink link;
    bool powerOn;
    bool muted;
    int source; // the status block's numbering; PanelNoSource while the unit cannot be seen
    int soundMode;
    int volume;
    // The large dot-matrix line (with the symbols of dot_matrix.h), the small one under it
    // and the small one's right-aligned part.
    char main[PanelLineSize];
    char sub[PanelLineSize];
    char subRight[PanelLineSize];
};

// state is read only when link is Ready.
PanelView DescribePanel(PanelLink link, unsigned instance, const SimUnitState& state);

// Whether the two would draw the same display.
bool SamePanelView(const PanelView& a, const PanelView& b);

// The annunciator of a source ("PC USB", "TUNER", "CD", "MD", "TAPE") and of a sound mode
// ("N.B.1", "N.B.2", "TONE"); "" for values the unit does not have.
const char* PanelSourceName(int source);
const char* PanelSoundModeName(int soundMode);

// Everything the display shows, as words separated by " | ": "CD | VOL 40 | MUTE | N.B.1 |
// 03 02:15 | PLAY | 12 TRACKS", "STANDBY", "UNPLUGGED | OFF THE USB BUS". Always terminated
// when size > 0.
void PanelDisplayText(const PanelView& view, char* out, std::size_t size);
