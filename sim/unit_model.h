#pragma once

// The simulated Norvik unit: its whole state and what each command does to it. Freestanding
// C++: no heap, no exceptions, no RTTI, nothing from the standard library beyond fixed-width
// integers, so that the same code builds into the host tests and into the kernel driver.

#include <stdint.h>

constexpr int SimPresetCount = 40;
constexpr int SimMaxTracks = 99;

enum SimBand : uint8_t { SimBandFm = 0, SimBandAm = 1 };
enum SimCdState : uint8_t { SimCdStopped = 0, SimCdPlaying = 1, SimCdPaused = 2 };
enum SimMdState : uint8_t { SimMdStopped = 0, SimMdPlaying = 1 };
enum SimTapeState : uint8_t {
    SimTapeStopped = 0,
    SimTapeForward = 1,
    SimTapeReverse = 2,
    SimTapeFastForward = 3,
    SimTapeRewind = 4,
};

struct SimPreset {
    uint8_t band;       // SimBand
    uint16_t frequency; // FM in 10 kHz steps (8750 = 87.50 MHz), AM in kHz
};

// Plain data: the driver copies it whole through its control channel.
struct SimUnitState {
    uint8_t powerOn;
    uint8_t muted;
    uint8_t volume;    // 0..80
    uint8_t source;    // the status block's Source: 0 tuner, 1 CD, 2 MD, 3 tape/aux, 4 PC USB
    uint8_t soundMode; // 0 none, 1 N.B.1, 2 N.B.2, 3 TONE

    // Tuner
    uint8_t band;   // SimBand
    uint8_t mono;   // 0 AUTO, 1 MONO
    uint8_t preset; // 1..SimPresetCount
    uint16_t frequency;
    SimPreset presets[SimPresetCount];

    // CD
    uint8_t discPresent;
    uint8_t trackCount;    // 0..99
    uint8_t track;         // 1..trackCount
    uint8_t cdState;       // SimCdState
    uint32_t elapsedMs;    // time into the current track
    uint16_t trackSeconds; // length of every track

    // MD and tape
    uint8_t mdPresent;
    uint8_t mdState; // SimMdState
    uint8_t mdTrack;
    uint8_t tapeState; // SimTapeState

    int8_t inputLevel; // SimInputLevelMin..SimInputLevelMax

    // Raw overrides of status bytes, for showing the program malformed blocks: bit i of
    // overrideMask replaces byte i of every rendered block with overrideBytes[i].
    uint32_t overrideMask;
    uint8_t overrideBytes[32];
};

constexpr int SimInputLevelMin = -12;
constexpr int SimInputLevelMax = 12;

// The Japanese bands the tuner covers: FM in 10 kHz steps, AM in kHz (9 kHz raster).
constexpr int SimFmLowest = 7600;
constexpr int SimFmHighest = 9000;
constexpr int SimAmLowest = 531;
constexpr int SimAmHighest = 1629;

// The disc a factory unit holds, and the one that a closed empty tray comes back with.
constexpr int SimDefaultTrackCount = 12;
constexpr int SimDefaultTrackSeconds = 240;

// The unit as it leaves the factory: off, tuner, FM, preset 1, a disc of 12 tracks, stopped.
void SimUnitReset(SimUnitState& unit);

// Applies one command code, as the unit does for a packet it accepts or a front-panel key.
// Returns false for a code the unit does not know (nothing changes then).
bool SimUnitApply(SimUnitState& unit, uint32_t code);

// Applies a 32-byte command packet; a packet whose checksum is wrong changes nothing and
// returns false.
bool SimUnitApplyPacket(SimUnitState& unit, const uint8_t (&packet)[32]);

// Lets time pass: a playing CD counts its elapsed time and moves on to the next track.
void SimUnitTick(SimUnitState& unit, uint32_t elapsedMs);

// The 32-byte status block as the unit sends it.
void SimUnitRenderStatus(const SimUnitState& unit, uint8_t (&block)[32]);
