#include "sim/unitpanel/panel_keys.h"

#include "unit/command_code.h"
#include "unit/unit_status.h"

namespace {

constexpr int VolumeDownKeyId = 108;
constexpr int VolumeUpKeyId = 109;

} // namespace

// Access keys are unique among the keys shown together (the tray menu's letters where they
// fit); the host tests hold the table to that.
const PanelKey PanelKeys[] = {
    {PanelPowerKeyId, "&POWER", nullptr, GlyphNone, KeyGroupAlways, 0, 0, false},
    {101, "PC US&B", nullptr, GlyphNone, KeyGroupAlways, 1, SelectPcUsb, false},
    {102, "&TUNER", nullptr, GlyphNone, KeyGroupAlways, 2, SelectTuner, false},
    {103, "&CD", nullptr, GlyphNone, KeyGroupAlways, 3, SelectCd, false},
    {104, "&MD", nullptr, GlyphNone, KeyGroupAlways, 4, SelectMd, false},
    {105, "T&APE", nullptr, GlyphNone, KeyGroupAlways, 5, SelectTapeAux, false},
    {106, "MUT&E", nullptr, GlyphNone, KeyGroupAlways, 6, MuteToggle, false},
    {107, "&N.B.", nullptr, GlyphNone, KeyGroupAlways, 7, NbKey, false},
    {VolumeDownKeyId, "VOL &-", "VOL", GlyphMinus, KeyGroupAlways, 8, 0, true},
    {VolumeUpKeyId, "VOL &+", "VOL", GlyphPlus, KeyGroupAlways, 9, 0, true},

    {110, "P&REVIOUS", "", GlyphPrevious, KeyGroupCd, 10, CdPrev, false},
    {111, "P&LAY/PAUSE", "", GlyphPlayPause, KeyGroupCd, 11, CdPlayPause, false},
    {112, "&STOP", "", GlyphStop, KeyGroupCd, 12, CdStop, false},
    {113, "NE&XT", "", GlyphNext, KeyGroupCd, 13, CdNext, false},
    {114, "E&JECT", "", GlyphEject, KeyGroupCd, 14, CdEject, false},

    {120, "BAN&D", nullptr, GlyphNone, KeyGroupTuner, 10, TunerBand, false},
    {121, "AUT&O/MONO", "MONO", GlyphNone, KeyGroupTuner, 11, TunerAutoMono, false},
    {122, "P&RESET -", "PRESET", GlyphMinus, KeyGroupTuner, 15, TunerPresetPrev, false},
    {123, "PRE&SET +", "PRESET", GlyphPlus, KeyGroupTuner, 16, TunerPresetNext, false},

    {130, "P&REVIOUS", "", GlyphPrevious, KeyGroupMd, 10, MdPrev, false},
    {131, "P&LAY", "", GlyphPlay, KeyGroupMd, 11, MdPlay, false},
    {132, "&STOP", "", GlyphStop, KeyGroupMd, 12, MdStop, false},
    {133, "NE&XT", "", GlyphNext, KeyGroupMd, 13, MdNext, false},
    {134, "E&JECT", "", GlyphEject, KeyGroupMd, 14, MdEject, false},

    {140, "RE&WIND", "", GlyphRewind, KeyGroupTape, 10, TapeRewind, false},
    {141, "&REVERSE PLAY", "", GlyphReverse, KeyGroupTape, 11, TapePlayReverse, false},
    {142, "&STOP", "", GlyphStop, KeyGroupTape, 12, TapeStop, false},
    {143, "P&LAY", "", GlyphPlay, KeyGroupTape, 13, TapePlayForward, false},
    {144, "&FAST FORWARD", "", GlyphFastForward, KeyGroupTape, 14, TapeFastForward, false},

    {150, "LEVEL &DOWN", "LEVEL", GlyphMinus, KeyGroupInputLevel, 15, InputLevelDown, false},
    {151, "LEVEL &UP", "LEVEL", GlyphPlus, KeyGroupInputLevel, 16, InputLevelUp, false},
};

const std::size_t PanelKeyCount = sizeof(PanelKeys) / sizeof(PanelKeys[0]);
static_assert(sizeof(PanelKeys) / sizeof(PanelKeys[0]) <= PanelKeyLimit, "room for every key");

const PanelKey* FindPanelKey(int id) {
    for (const PanelKey& key : PanelKeys) {
        if (key.id == id) {
            return &key;
        }
    }
    return nullptr;
}

bool PanelKeyShown(const PanelKey& key, int source) {
    switch (key.group) {
    case KeyGroupAlways: return true;
    case KeyGroupCd: return source == SourceCd;
    case KeyGroupTuner: return source == SourceTuner;
    case KeyGroupMd: return source == SourceMd;
    case KeyGroupTape: return source == SourceTapeAux;
    case KeyGroupInputLevel: return source == SourceMd || source == SourceTapeAux;
    }
    return false;
}

std::uint32_t PanelKeyCode(const PanelKey& key, const SimUnitState& state) {
    switch (key.id) {
    // One key, as on the unit: it switches whichever way the unit is not.
    case PanelPowerKeyId: return state.powerOn ? std::uint32_t{PowerOff} : std::uint32_t{PowerOn};
    // The unit takes volumes, not steps: a step is the volume next to the one it has now.
    case VolumeDownKeyId:
        return state.volume > MinVolume
                   ? std::uint32_t{NumberedCommand(SetVolume, state.volume - 1u)}
                   : 0;
    case VolumeUpKeyId:
        return state.volume < MaxVolume
                   ? std::uint32_t{NumberedCommand(SetVolume, state.volume + 1u)}
                   : 0;
    default: return key.code;
    }
}
