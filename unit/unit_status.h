#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t StatusBlockSize = 32;

// The values of the status fields that the program tells apart, named here once.

// The selected source, numbered differently from the input numbers of the select commands.
enum Source : std::int32_t {
    SourceTuner = 0,
    SourceCd = 1,
    SourceMd = 2,
    SourceTapeAux = 3,
    SourcePcUsb = 4,
};

enum SoundMode : std::int32_t {
    SoundModeNone = 0,
    SoundModeNb1 = 1,
    SoundModeNb2 = 2,
    SoundModeTone = 3,
};

// What the CD is doing, when a disc is in.
enum CdPlayState : std::int32_t {
    CdStopped = 0,
    CdPlaying = 1,
    CdPaused = 2,
};

// What one status read learnt about the unit. Which fields mean something depends on source:
// the tuner fields for the tuner, the CD fields for the CD, inputLevel for MD and tape/aux.
struct UnitStatus {
    bool powerOn;
    bool muted;
    std::int32_t source; // a Source
    std::int32_t volume;
    std::int32_t track;
    std::int32_t minutes;
    std::int32_t seconds;
    std::int32_t trackCount;
    std::int32_t cdPlayState; // a CdPlayState
    bool discPresent;
    std::int32_t preset;
    std::int32_t frequency; // FM in 10 kHz steps, AM in kHz
    std::int32_t isAm;
    std::int32_t inputLevel;
    std::int32_t soundMode; // a SoundMode

    friend bool operator==(const UnitStatus&, const UnitStatus&) = default;
};

// Two packed decimal digits; nibbles above 9 are not checked (0x1A gives 20).
constexpr std::int32_t DecodeBcd(std::uint8_t byte) {
    return (byte >> 4) * 10 + (byte & 0x0F);
}

UnitStatus DecodeStatusBlock(const std::uint8_t (&block)[StatusBlockSize]);
