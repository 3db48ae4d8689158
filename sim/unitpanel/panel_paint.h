#pragma once

// Drawing the front panel with GDI: the body, the display, the strip and each key, into
// whatever device context the caller gives (an off-screen one, so nothing flickers).

#include "sim/unitpanel/command_strip.h"
#include "sim/unitpanel/panel_keys.h"
#include "sim/unitpanel/panel_layout.h"
#include "sim/unitpanel/panel_view.h"

#include <windows.h>

// The fonts of one DPI, made together and deleted together.
struct PanelFonts {
    HFONT key;
    HFONT caption;
    HFONT annunciator;
    HFONT strip;
};

PanelFonts CreatePanelFonts(const PanelLayout& layout);
void DeletePanelFonts(PanelFonts& fonts);

struct KeyLook {
    bool pressed;
    bool focused;
    bool disabled;
    bool hideAccessKey; // the keyboard cues are off until the keyboard is used
    bool standbyLit;    // the POWER key's standby LED
};

// A back buffer for one paint: draw into Dc() within Area(), then CopyTo the target. Without
// the memory for it, Dc() is the target itself and Area() the target rectangle.
class OffscreenPaint {
public:
    OffscreenPaint(HDC target, const RECT& rect);
    ~OffscreenPaint();
    OffscreenPaint(const OffscreenPaint&) = delete;
    OffscreenPaint& operator=(const OffscreenPaint&) = delete;

    HDC Dc() const { return buffered_ ? memory_ : target_; }
    RECT Area() const;
    void CopyTo() const;

private:
    HDC target_;
    RECT rect_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    bool buffered_ = false;
};

void PaintBody(HDC dc, const RECT& area);
// area is the display control's whole client area.
void PaintDisplay(HDC dc, const RECT& area, const PanelLayout& layout, const PanelFonts& fonts,
                  const PanelView& view);
void PaintStrip(HDC dc, const RECT& area, const PanelFonts& fonts, const CommandStrip& strip,
                bool dimmed);
void PaintKey(HDC dc, const RECT& area, const PanelLayout& layout, const PanelFonts& fonts,
              const PanelKey& key, const KeyLook& look);
