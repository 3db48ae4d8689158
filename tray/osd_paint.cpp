#include "tray/osd_paint.h"

#include "tray/dot_matrix_paint.h"

#include <cstring>

namespace {

using namespace unit_display_colours;

COLORREF ToneColour(OsdTone tone) {
    switch (tone) {
    case OsdTone::Muted: return Amber;
    case OsdTone::Standby: return LitStandby;
    case OsdTone::Lit: break;
    }
    return Lit;
}

void Fill(HDC dc, const OsdRect& rect, COLORREF colour) {
    const RECT area = {rect.left, rect.top, rect.right, rect.bottom};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void PaintBar(HDC dc, const OsdLayout& layout, std::int32_t volume, COLORREF lit) {
    const std::int32_t litSegments = (volume + 1) / 2;
    for (std::int32_t segment = 0; segment < OsdBarSegments; ++segment) {
        const std::int32_t left = layout.textLeft + segment * layout.segmentStride;
        Fill(dc,
             {left, layout.barTop, left + layout.segmentWidth, layout.barTop + layout.barHeight},
             segment < litSegments ? lit : Ghost);
    }
}

void PaintDisplay(HDC dc, const OsdLayout& layout, const OsdContent& content) {
    Fill(dc, {0, 0, layout.width, layout.height}, BezelEdge);
    const std::int32_t edge = layout.edge;
    Fill(dc, {edge, edge, layout.width - edge, layout.height - edge}, Bezel);
    Fill(dc, layout.glass, Glass);
    const COLORREF lit = ToneColour(content.tone);
    PaintDotText(dc, layout.textLeft, layout.captionTop, layout.small, content.caption, Lit);
    // The value's cells glow faintly behind it, as the unit's do.
    const int valueLeft = layout.textRight - DotTextWidth(layout.large, content.value);
    PaintDotCells(dc, valueLeft, layout.valueTop, layout.large,
                  static_cast<int>(std::strlen(content.value)), Ghost);
    PaintDotText(dc, valueLeft, layout.valueTop, layout.large, content.value, lit);
    if (content.barVolume != OsdNoBar) {
        PaintBar(dc, layout, content.barVolume, lit);
    }
    PaintDotText(dc, layout.textRight - DotTextWidth(layout.small, content.detail),
                 layout.detailTop, layout.small, content.detail, Lit);
}

} // namespace

void PaintOsd(HWND window, const OsdLayout& layout, const OsdContent& content) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, layout.width, layout.height);
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        PaintDisplay(memory, layout, content);
        BitBlt(dc, 0, 0, layout.width, layout.height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
    } else {
        PaintDisplay(dc, layout, content);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    EndPaint(window, &paint);
}
