#include "tray/volume_gesture.h"

#include "unit/command_code.h"
#include "unit/unit_status.h"

namespace {

constexpr std::int64_t PixelsPerVolumeStep = 3;

} // namespace

std::int32_t ClampVolume(std::int64_t volume) {
    if (volume < MinVolume) {
        return MinVolume;
    }
    if (volume > MaxVolume) {
        return MaxVolume;
    }
    return static_cast<std::int32_t>(volume);
}

std::int32_t DragVolume(ScreenPoint origin, ScreenPoint cursor, std::int32_t startVolume) {
    // 64-bit so that no cursor position can overflow.
    const std::int64_t distance =
        (std::int64_t{cursor.x} - origin.x) - (std::int64_t{cursor.y} - origin.y);
    return ClampVolume(startVolume + distance / PixelsPerVolumeStep);
}

DragTickDecision DecideDragTick(const PointerReading& pointer, ScreenPoint origin,
                                std::int32_t startVolume) {
    if (!pointer.leftButtonDown) {
        return {DragTickAction::EndDrag, 0};
    }
    if (!pointer.cursorKnown) {
        return {DragTickAction::SendNothing, 0};
    }
    return {DragTickAction::SetVolume, DragVolume(origin, pointer.cursor, startVolume)};
}

std::int32_t SteppedVolume(std::int32_t current, bool up) {
    return ClampVolume(std::int64_t{current} + (up ? 1 : -1));
}

CdPlayStopAction DecideCdPlayStop(bool discPresent, std::int32_t cdPlayState) {
    if (!discPresent) {
        return CdPlayStopAction::Nothing;
    }
    return cdPlayState == CdPlaying ? CdPlayStopAction::Stop : CdPlayStopAction::PlayPause;
}
