#pragma once

#include "tray/pointer_reading.h"

#include <cstdint>

std::int32_t ClampVolume(std::int64_t volume);

// Pixels of movement per volume step on a monitor of dpi dots per inch: three at 96 DPI (100 %
// scale) and as many more as the monitor is scaled, so that the drag asks the same movement of
// the hand at every scale. A DPI of 0, not known, counts as 96.
std::int32_t DragStepPixels(std::uint32_t dpi);

// Volume for a drag that started at origin, on a monitor of dpi, with the unit at startVolume:
// moving right or up raises it, left or down lowers it, one step per DragStepPixels
// (truncating toward zero).
std::int32_t DragVolume(ScreenPoint origin, ScreenPoint cursor, std::int32_t startVolume,
                        std::uint32_t dpi);

enum class DragTickAction { SetVolume, SendNothing, EndDrag };

struct DragTickDecision {
    DragTickAction action;
    std::int32_t volume; // SetVolume only
};

// A released button ends the drag even though the icon never heard of the release (it happened
// away from the icon, or the shell restarted meanwhile). An unknown cursor position sends
// nothing: it could stand for any volume.
DragTickDecision DecideDragTick(const PointerReading& pointer, ScreenPoint origin,
                                std::int32_t startVolume, std::uint32_t dpi);

// One volume hotkey step from the unit's current volume, kept within 0..80.
std::int32_t SteppedVolume(std::int32_t current, bool up);

enum class CdPlayStopAction { Nothing, Stop, PlayPause };

// The CD play/stop hotkey: stop a playing disc, otherwise play (or resume); no disc, nothing.
CdPlayStopAction DecideCdPlayStop(bool discPresent, std::int32_t cdPlayState);
