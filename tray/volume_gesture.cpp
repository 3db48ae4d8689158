#include "tray/volume_gesture.h"

#include "unit/command_code.h"
#include "unit/unit_status.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::uint32_t DefaultDpi = 96;
constexpr std::uint32_t StepPixelsAtDefaultDpi = 3;
// Far beyond any monitor's scale; keeps a step within 300 pixels and its arithmetic in 32 bits.
constexpr std::uint32_t MaxDpi = 100 * DefaultDpi;

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

std::int32_t DragStepPixels(std::uint32_t dpi) {
    const std::uint32_t knownDpi = dpi != 0 ? std::min(dpi, MaxDpi) : DefaultDpi;
    // To the nearest pixel (4.5 at 144 DPI gives 5), and never below one.
    const std::uint32_t pixels = (StepPixelsAtDefaultDpi * knownDpi + DefaultDpi / 2) / DefaultDpi;
    return static_cast<std::int32_t>(std::max(pixels, 1u));
}

std::int32_t DragVolume(ScreenPoint origin, ScreenPoint cursor, std::int32_t startVolume,
                        std::uint32_t dpi) {
    // 64-bit so that no cursor position can overflow. A distance past the 32-bit range takes
    // the volume to its limit all the same, and a 32-bit division needs no runtime helper.
    const std::int64_t distance =
        (std::int64_t{cursor.x} - origin.x) - (std::int64_t{cursor.y} - origin.y);
    const std::int32_t steps =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(distance, INT32_MIN, INT32_MAX)) /
        DragStepPixels(dpi);
    return ClampVolume(std::int64_t{startVolume} + steps);
}

DragTickDecision DecideDragTick(const PointerReading& pointer, ScreenPoint origin,
                                std::int32_t startVolume, std::uint32_t dpi) {
    if (!pointer.leftButtonDown) {
        return {DragTickAction::EndDrag, 0};
    }
    if (!pointer.cursorKnown) {
        return {DragTickAction::SendNothing, 0};
    }
    return {DragTickAction::SetVolume, DragVolume(origin, pointer.cursor, startVolume, dpi)};
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
