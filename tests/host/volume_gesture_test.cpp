#include "tray/tray_icons.h"
#include "tray/volume_gesture.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

TEST(VolumeGesture, DragFromOrigin) {
    struct Case {
        int dx, dy, start, volume;
    };
    const Case cases[] = {
        {30, 0, 40, 50},  {30, 30, 40, 40}, {-2, 0, 40, 40},  {-3, 0, 40, 39},
        {200, 0, 40, 80}, {2, 0, 40, 40},   {0, -30, 40, 50}, {0, 30, 40, 30},
        {-4, 0, 40, 39},  {-5, 0, 40, 39},  {-6, 0, 40, 38},  {-500, 0, 40, 0},
        {0, 0, 0, 0},     {0, 0, 80, 80},   {3, 0, 80, 80},   {-3, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const ScreenPoint origin = {100, 200};
        const ScreenPoint cursor = {100 + c.dx, 200 + c.dy};
        EXPECT_EQ(DragVolume(origin, cursor, c.start, 96), c.volume)
            << c.dx << "," << c.dy << " from " << c.start;
    }
}

// The same hand movement per step at every scale: 100 %, 150 %, 200 %; an unknown DPI as 100 %.
TEST(VolumeGesture, DragStepFollowsTheMonitorsDpi) {
    for (auto [dpi, pixels, volume] :
         {std::tuple{96u, 3, 50}, {144u, 5, 46}, {192u, 6, 45}, {0u, 3, 50}}) {
        EXPECT_EQ(DragStepPixels(dpi), pixels) << dpi;
        EXPECT_EQ(DragVolume({100, 200}, {130, 200}, 40, dpi), volume) << dpi;
    }
}

TEST(VolumeGesture, ExtremeCursorPositionsDoNotOverflow) {
    EXPECT_EQ(DragVolume({INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, 40, 96), 80);
    EXPECT_EQ(DragVolume({INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, 40, 96), 0);
}

TEST(VolumeGesture, DragTickFollowsTheButtonAndAKnownCursor) {
    struct Case {
        const char* name;
        PointerReading pointer;
        DragTickAction action;
        int volume;
    };
    const ScreenPoint origin = {100, 200};
    const Case cases[] = {
        {"held, moved right", {true, {130, 200}, true}, DragTickAction::SetVolume, 50},
        {"held, not moved", {true, {100, 200}, true}, DragTickAction::SetVolume, 40},
        // A failed GetCursorPos leaves the point undefined: here one that would mean 80.
        {"held, cursor unknown", {false, {1000, 0}, true}, DragTickAction::SendNothing, 0},
        {"released away from the icon", {true, {130, 200}, false}, DragTickAction::EndDrag, 0},
        {"released, cursor unknown", {false, {0, 0}, false}, DragTickAction::EndDrag, 0},
    };
    for (const Case& c : cases) {
        const DragTickDecision tick = DecideDragTick(c.pointer, origin, 40, 96);
        EXPECT_EQ(tick.action, c.action) << c.name;
        if (c.action == DragTickAction::SetVolume) {
            EXPECT_EQ(tick.volume, c.volume) << c.name;
        }
    }
}

TEST(VolumeGesture, HotkeyStepStaysWithinLimits) {
    EXPECT_EQ(SteppedVolume(40, true), 41);
    EXPECT_EQ(SteppedVolume(40, false), 39);
    EXPECT_EQ(SteppedVolume(80, true), 80);
    EXPECT_EQ(SteppedVolume(0, false), 0);
    // A malformed status can report up to 165.
    EXPECT_EQ(SteppedVolume(165, true), 80);
    EXPECT_EQ(SteppedVolume(165, false), 80);
}

TEST(VolumeGesture, VolumeIcons) {
    struct Case {
        int volume, resource;
    };
    const Case cases[] = {{0, 10},  {1, 11},  {10, 11}, {11, 12}, {20, 12}, {21, 13},
                          {40, 14}, {41, 15}, {70, 17}, {71, 18}, {80, 18}};
    for (const Case& c : cases) {
        EXPECT_EQ(IconResourceOfIndex(VolumeIconIndex(c.volume)), c.resource) << c.volume;
    }
}

TEST(VolumeGesture, CdPlayStop) {
    EXPECT_EQ(DecideCdPlayStop(true, 1), CdPlayStopAction::Stop);
    EXPECT_EQ(DecideCdPlayStop(true, 0), CdPlayStopAction::PlayPause);
    EXPECT_EQ(DecideCdPlayStop(true, 2), CdPlayStopAction::PlayPause);
    EXPECT_EQ(DecideCdPlayStop(true, 7), CdPlayStopAction::PlayPause);
    EXPECT_EQ(DecideCdPlayStop(false, 1), CdPlayStopAction::Nothing);
    EXPECT_EQ(DecideCdPlayStop(false, 0), CdPlayStopAction::Nothing);
}

} // namespace
