#pragma once

// The front panel's geometry at a given DPI: designed at 96 DPI as a 480 by 204 window and
// scaled, with every edge on a whole pixel, so that it stays sharp at each scale.

#include "sim/unitpanel/panel_keys.h"
#include "tray/dot_matrix.h"

struct PanelRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct PanelLayout {
    int dpi;
    int clientWidth;
    int clientHeight;
    // In the panel window's client area.
    PanelRect display;
    PanelRect strip;
    PanelRect keys[PanelSlotCount];
    // In the display's own client area.
    PanelRect glass;
    PanelRect annunciators;
    PanelRect mainLine;
    PanelRect bar;
    PanelRect subLine;
    DotLine large;
    DotLine small;
    int barSegments;
    int barGap;
    // Font heights in pixels, and the keys' shapes.
    int keyFont;
    int captionFont;
    int annunciatorFont;
    int stripFont;
    int corner;
    int glyph;
    int led;
    int bevel;
};

PanelLayout LayoutPanel(int dpi);
