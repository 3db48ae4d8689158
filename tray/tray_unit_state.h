#pragma once

#include "res/resource_ids.h"

#include <cstddef>
#include <cstdint>

constexpr std::size_t StatusTextSize = 100;

// Menu command ids of the source entries, which is how the tray names the current source.
enum SourceItem : std::int32_t {
    NoSourceItem = 0,
    PcUsbItem = IDM_PC_USB,
    TunerItem = IDM_TUNER,
    CdItem = IDM_CD,
    MdItem = IDM_MD,
    TapeAuxItem = IDM_TAPE_AUX,
};

// The tray's play state for a CD source without a disc.
constexpr std::int32_t CdNoDisc = -1;

// What the last status refresh learnt about the unit, kept between window messages for the
// popup menu. A refresh that finds the unit off or unreadable leaves the source fields and
// statusText as the last refresh that found it on left them.
struct TrayUnitState {
    // The tooltip suffix while a refresh builds it; the source line alone between refreshes.
    char statusText[StatusTextSize];
    std::int32_t currentSourceItem; // a SourceItem
    std::int32_t tunerPreset;
    std::int32_t cdTrack;
    std::int32_t cdTrackCount;
    std::int32_t cdPlayState; // CdNoDisc, or the unit's CD play state
    bool powerOn;
    bool muted;
};
