#pragma once

#include <cstdint>

// Every action of the unit is one 32-bit code of the form 0xB802xxxx. The three numbered
// families take their number as a plain binary value added to the base code.
enum CommandCode : std::uint32_t {
    PowerOff = 0xB8020680,
    PowerOn = 0xB8020681,
    MuteToggle = 0xB802009C,
    SetVolume = 0xB8024D00, // + volume 0..80
    SelectPcUsb = 0xB8020093,
    SelectTuner = 0xB8020091,
    SelectCd = 0xB8020092,
    SelectMd = 0xB80201D2,
    SelectTapeAux = 0xB8020095,
    NbKey = 0xB802014B,
    TunerBand = 0xB802008F,
    TunerAutoMono = 0xB8020118,
    TunerPresetNext = 0xB8020107,
    TunerPresetPrev = 0xB8020106,
    TunerPreset = 0xB8024C00, // + preset number
    CdPlayPause = 0xB80200CB,
    CdStop = 0xB80200C9,
    CdNext = 0xB80200CF,
    CdPrev = 0xB80200CE,
    CdEject = 0xB802018D,
    CdTrack = 0xB8024400, // + track number
    MdPlay = 0xB80201D8,
    MdStop = 0xB80201D9,
    MdNext = 0xB80201DD,
    MdPrev = 0xB80201DC,
    MdEject = 0xB8020340,
    InputLevelUp = 0xB80201C1,
    InputLevelDown = 0xB80201C0,
    TapePlayForward = 0xB80200D9,
    TapePlayReverse = 0xB80200D8,
    TapeStop = 0xB80200DD,
    TapeRewind = 0xB80200DA,
    TapeFastForward = 0xB80200DB,
};

// The number takes the low byte and only that: a number of 256 or more must never carry into
// the family's code. Callers keep to their ranges (volume 0..80, tracks and presets 1..99).
constexpr CommandCode NumberedCommand(CommandCode family, std::uint32_t number) {
    return static_cast<CommandCode>((family & 0xFFFFFF00u) | (number & 0xFFu));
}

// A code taken apart the same way: the family's base code, and the number in the low byte.
constexpr std::uint32_t CommandFamilyOf(std::uint32_t code) {
    return code & 0xFFFFFF00u;
}
constexpr std::uint32_t CommandNumberOf(std::uint32_t code) {
    return code & 0xFFu;
}

constexpr int MinVolume = 0;
constexpr int MaxVolume = 80;

// Input numbers as the menu and the -i option count them: 1 PC USB, 2 tuner, 3 CD, 4 MD,
// 5 tape/aux, unlike the status block's Source. Gives the select code, or 0 for a number
// outside 1..5.
constexpr std::uint32_t SelectCodeForInput(unsigned input) {
    switch (input) {
    case 1: return SelectPcUsb;
    case 2: return SelectTuner;
    case 3: return SelectCd;
    case 4: return SelectMd;
    case 5: return SelectTapeAux;
    default: return 0;
    }
}
