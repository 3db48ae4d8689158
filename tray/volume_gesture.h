#pragma once

#include <cstdint>

struct ScreenPoint {
    std::int32_t x;
    std::int32_t y;
};

std::int32_t ClampVolume(std::int64_t volume);

// Volume for a drag that started at origin with the unit at startVolume: moving right or up
// raises it, left or down lowers it, one step per 3 pixels (truncating toward zero).
std::int32_t DragVolume(ScreenPoint origin, ScreenPoint cursor, std::int32_t startVolume);

// One volume hotkey step from the unit's current volume, kept within 0..80.
std::int32_t SteppedVolume(std::int32_t current, bool up);

enum class CdPlayStopAction { Nothing, Stop, PlayPause };

// The CD play/stop hotkey: stop a playing disc, otherwise play (or resume); no disc, nothing.
CdPlayStopAction DecideCdPlayStop(bool discPresent, std::int32_t cdPlayState);
