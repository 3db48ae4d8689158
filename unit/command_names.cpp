#include "unit/command_names.h"

#include <cstring>

const CommandName CommandNames[] = {
    {"PowerOff", PowerOff, false},
    {"PowerOn", PowerOn, false},
    {"MuteToggle", MuteToggle, false},
    {"SetVolume", SetVolume, true},
    {"SelectPcUsb", SelectPcUsb, false},
    {"SelectTuner", SelectTuner, false},
    {"SelectCd", SelectCd, false},
    {"SelectMd", SelectMd, false},
    {"SelectTapeAux", SelectTapeAux, false},
    {"NbKey", NbKey, false},
    {"TunerBand", TunerBand, false},
    {"TunerAutoMono", TunerAutoMono, false},
    {"TunerPresetNext", TunerPresetNext, false},
    {"TunerPresetPrev", TunerPresetPrev, false},
    {"TunerPreset", TunerPreset, true},
    {"CdPlayPause", CdPlayPause, false},
    {"CdStop", CdStop, false},
    {"CdNext", CdNext, false},
    {"CdPrev", CdPrev, false},
    {"CdEject", CdEject, false},
    {"CdTrack", CdTrack, true},
    {"MdPlay", MdPlay, false},
    {"MdStop", MdStop, false},
    {"MdNext", MdNext, false},
    {"MdPrev", MdPrev, false},
    {"MdEject", MdEject, false},
    {"InputLevelUp", InputLevelUp, false},
    {"InputLevelDown", InputLevelDown, false},
    {"TapePlayForward", TapePlayForward, false},
    {"TapePlayReverse", TapePlayReverse, false},
    {"TapeStop", TapeStop, false},
    {"TapeRewind", TapeRewind, false},
    {"TapeFastForward", TapeFastForward, false},
};

const std::size_t CommandNameCount = sizeof(CommandNames) / sizeof(CommandNames[0]);

const CommandName* FindCommandByName(const char* name) {
    for (const CommandName& entry : CommandNames) {
        if (std::strcmp(entry.name, name) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

const CommandName* FindCommandByCode(std::uint32_t code) {
    for (const CommandName& entry : CommandNames) {
        if (entry.code == code) {
            return &entry;
        }
    }
    // Numbered families keep their number in the low byte.
    for (const CommandName& entry : CommandNames) {
        if (entry.numbered && CommandFamilyOf(code) == entry.code) {
            return &entry;
        }
    }
    return nullptr;
}
