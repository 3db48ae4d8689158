#include "sim/unit_model.h"

#include "unit/command_code.h"
#include "unit/unit_status.h"

// Built into the kernel driver as well: no library calls, and no struct copies or aggregate
// zeroing, which the compiler may turn into memcpy/memset calls the driver cannot link.

namespace {

constexpr uint8_t FactoryVolume = 20;
constexpr int PresetsPerBand = SimPresetCount / 2;
constexpr int FmPresetSpacing = 70; // 0.70 MHz
constexpr int AmPresetSpacing = 54; // six 9 kHz channels
constexpr uint32_t PrevRestartsAfterMs = 2000;

bool HasDisc(const SimUnitState& unit) {
    return unit.discPresent != 0 && unit.trackCount > 0;
}

void StopCd(SimUnitState& unit) {
    unit.cdState = SimCdStopped;
    unit.elapsedMs = 0;
}

void StopAllDecks(SimUnitState& unit) {
    StopCd(unit);
    unit.mdState = SimMdStopped;
    unit.tapeState = SimTapeStopped;
}

// Only the selected deck plays: switching source stops the others.
void SelectSource(SimUnitState& unit, uint8_t source) {
    if (source != SourceCd) {
        StopCd(unit);
    }
    if (source != SourceMd) {
        unit.mdState = SimMdStopped;
    }
    if (source != SourceTapeAux) {
        unit.tapeState = SimTapeStopped;
    }
    unit.source = source;
}

void TunePreset(SimUnitState& unit, int number) {
    const SimPreset& preset = unit.presets[number - 1];
    unit.preset = static_cast<uint8_t>(number);
    unit.band = preset.band;
    unit.frequency = preset.frequency;
}

uint8_t Bcd(uint32_t value) {
    return static_cast<uint8_t>(((value / 10) % 10) << 4 | (value % 10));
}

// --- keys without a number ---

void PressPowerOff(SimUnitState& unit) {
    // Coming back on, the unit is never muted and no deck runs.
    StopAllDecks(unit);
    unit.muted = 0;
    unit.powerOn = 0;
}

void PressPowerOn(SimUnitState& unit) {
    unit.powerOn = 1;
}
void PressMute(SimUnitState& unit) {
    unit.muted = unit.muted ? 0 : 1;
}
void PressPcUsb(SimUnitState& unit) {
    SelectSource(unit, SourcePcUsb);
}
void PressTuner(SimUnitState& unit) {
    SelectSource(unit, SourceTuner);
}
void PressCd(SimUnitState& unit) {
    SelectSource(unit, SourceCd);
}
void PressMd(SimUnitState& unit) {
    SelectSource(unit, SourceMd);
}
void PressTapeAux(SimUnitState& unit) {
    SelectSource(unit, SourceTapeAux);
}

void PressNb(SimUnitState& unit) {
    // none -> N.B.1 -> N.B.2 -> TONE -> none; a mode the key never produces goes back to none.
    unit.soundMode = unit.soundMode < SoundModeTone ? unit.soundMode + 1 : SoundModeNone;
}

void PressBand(SimUnitState& unit) {
    // The other band comes up on its lowest-numbered preset; with no preset stored for it,
    // on the bottom of the band, leaving the preset number as it was.
    const uint8_t other = unit.band == SimBandFm ? SimBandAm : SimBandFm;
    for (int i = 0; i < SimPresetCount; ++i) {
        if (unit.presets[i].band == other) {
            TunePreset(unit, i + 1);
            return;
        }
    }
    unit.band = other;
    unit.frequency = other == SimBandFm ? SimFmLowest : SimAmLowest;
}

void PressAutoMono(SimUnitState& unit) {
    unit.mono = unit.mono ? 0 : 1;
}

void PressPresetNext(SimUnitState& unit) {
    TunePreset(unit, unit.preset >= 1 && unit.preset < SimPresetCount ? unit.preset + 1 : 1);
}

void PressPresetPrev(SimUnitState& unit) {
    TunePreset(unit,
               unit.preset > 1 && unit.preset <= SimPresetCount ? unit.preset - 1 : SimPresetCount);
}

void PressCdPlayPause(SimUnitState& unit) {
    if (!HasDisc(unit)) {
        return;
    }
    if (unit.cdState == SimCdPlaying) {
        unit.cdState = SimCdPaused;
        return;
    }
    // Starting play is one-touch: it also selects the CD.
    SelectSource(unit, SourceCd);
    if (unit.track < 1 || unit.track > unit.trackCount) {
        unit.track = 1;
        unit.elapsedMs = 0;
    }
    unit.cdState = SimCdPlaying;
}

// Stop keeps the current track.
void PressCdStop(SimUnitState& unit) {
    StopCd(unit);
}

void PressCdNext(SimUnitState& unit) {
    // Skipping keeps playing, paused or stopped as it was; past the last track it wraps to 1.
    if (!HasDisc(unit)) {
        return;
    }
    unit.track = unit.track < unit.trackCount ? unit.track + 1 : 1;
    unit.elapsedMs = 0;
}

void PressCdPrev(SimUnitState& unit) {
    // Well into a track, the key restarts it; otherwise it goes back one, from 1 to the last.
    if (!HasDisc(unit)) {
        return;
    }
    if (unit.elapsedMs <= PrevRestartsAfterMs) {
        unit.track =
            unit.track > 1 && unit.track <= unit.trackCount ? unit.track - 1 : unit.trackCount;
    }
    unit.elapsedMs = 0;
}

void PressCdEject(SimUnitState& unit) {
    StopCd(unit);
    if (unit.discPresent) {
        unit.discPresent = 0;
        unit.trackCount = 0;
        unit.track = 0;
        return;
    }
    // Closing the empty tray brings back a disc, so a demo can go on without a front panel.
    unit.discPresent = 1;
    unit.trackCount = SimDefaultTrackCount;
    unit.track = 1;
}

void PressMdPlay(SimUnitState& unit) {
    if (!unit.mdPresent) {
        return;
    }
    SelectSource(unit, SourceMd);
    if (unit.mdTrack == 0) {
        unit.mdTrack = 1;
    }
    unit.mdState = SimMdPlaying;
}

void PressMdStop(SimUnitState& unit) {
    unit.mdState = SimMdStopped;
}

// The model keeps no MD track count: skipping stops at 1 and at the highest track number.
void PressMdNext(SimUnitState& unit) {
    if (unit.mdPresent && unit.mdTrack < SimMaxTracks) {
        ++unit.mdTrack;
    }
}

void PressMdPrev(SimUnitState& unit) {
    if (unit.mdPresent && unit.mdTrack > 1) {
        --unit.mdTrack;
    }
}

void PressMdEject(SimUnitState& unit) {
    unit.mdState = SimMdStopped;
    unit.mdPresent = unit.mdPresent ? 0 : 1;
    unit.mdTrack = unit.mdPresent;
}

void PressInputLevelUp(SimUnitState& unit) {
    if (unit.inputLevel < SimInputLevelMax) {
        ++unit.inputLevel;
    }
}

void PressInputLevelDown(SimUnitState& unit) {
    if (unit.inputLevel > SimInputLevelMin) {
        --unit.inputLevel;
    }
}

void PressTapeForward(SimUnitState& unit) {
    SelectSource(unit, SourceTapeAux);
    unit.tapeState = SimTapeForward;
}

void PressTapeReverse(SimUnitState& unit) {
    SelectSource(unit, SourceTapeAux);
    unit.tapeState = SimTapeReverse;
}

void PressTapeStop(SimUnitState& unit) {
    unit.tapeState = SimTapeStopped;
}
void PressTapeRewind(SimUnitState& unit) {
    unit.tapeState = SimTapeRewind;
}
void PressTapeFastForward(SimUnitState& unit) {
    unit.tapeState = SimTapeFastForward;
}

struct Key {
    uint32_t code;
    void (*press)(SimUnitState&);
};

const Key Keys[] = {
    {PowerOff, PressPowerOff},
    {PowerOn, PressPowerOn},
    {MuteToggle, PressMute},
    {SelectPcUsb, PressPcUsb},
    {SelectTuner, PressTuner},
    {SelectCd, PressCd},
    {SelectMd, PressMd},
    {SelectTapeAux, PressTapeAux},
    {NbKey, PressNb},
    {TunerBand, PressBand},
    {TunerAutoMono, PressAutoMono},
    {TunerPresetNext, PressPresetNext},
    {TunerPresetPrev, PressPresetPrev},
    {CdPlayPause, PressCdPlayPause},
    {CdStop, PressCdStop},
    {CdNext, PressCdNext},
    {CdPrev, PressCdPrev},
    {CdEject, PressCdEject},
    {MdPlay, PressMdPlay},
    {MdStop, PressMdStop},
    {MdNext, PressMdNext},
    {MdPrev, PressMdPrev},
    {MdEject, PressMdEject},
    {InputLevelUp, PressInputLevelUp},
    {InputLevelDown, PressInputLevelDown},
    {TapePlayForward, PressTapeForward},
    {TapePlayReverse, PressTapeReverse},
    {TapeStop, PressTapeStop},
    {TapeRewind, PressTapeRewind},
    {TapeFastForward, PressTapeFastForward},
};

// --- keys with a number in the low byte; numbers out of range are ignored ---

void PressSetVolume(SimUnitState& unit, uint32_t volume) {
    if (volume <= static_cast<uint32_t>(MaxVolume)) {
        // Turning the volume always brings the sound back.
        unit.volume = static_cast<uint8_t>(volume);
        unit.muted = 0;
    }
}

// The tuner keys work on the tuner whatever source is selected.
void PressTunerPreset(SimUnitState& unit, uint32_t number) {
    if (number >= 1 && number <= static_cast<uint32_t>(SimPresetCount)) {
        TunePreset(unit, static_cast<int>(number));
    }
}

void PressCdTrack(SimUnitState& unit, uint32_t number) {
    if (!HasDisc(unit) || number < 1 || number > unit.trackCount) {
        return;
    }
    SelectSource(unit, SourceCd);
    unit.track = static_cast<uint8_t>(number);
    unit.elapsedMs = 0;
    unit.cdState = SimCdPlaying;
}

struct NumberedKey {
    uint32_t family;
    void (*press)(SimUnitState&, uint32_t number);
};

const NumberedKey NumberedKeys[] = {
    {SetVolume, PressSetVolume},
    {TunerPreset, PressTunerPreset},
    {CdTrack, PressCdTrack},
};

void ResetPresets(SimUnitState& unit) {
    // Presets 1-20 spread over FM, 21-40 over AM on the 9 kHz raster.
    for (int i = 0; i < PresetsPerBand; ++i) {
        unit.presets[i].band = SimBandFm;
        unit.presets[i].frequency = static_cast<uint16_t>(SimFmLowest + i * FmPresetSpacing);
        SimPreset& am = unit.presets[PresetsPerBand + i];
        am.band = SimBandAm;
        am.frequency = static_cast<uint16_t>(SimAmLowest + i * AmPresetSpacing);
    }
}

} // namespace

void SimUnitReset(SimUnitState& unit) {
    unit.powerOn = 0;
    unit.muted = 0;
    unit.volume = FactoryVolume;
    unit.source = SourceTuner;
    unit.soundMode = SoundModeNone;

    unit.mono = 0;
    ResetPresets(unit);
    TunePreset(unit, 1);

    unit.discPresent = 1;
    unit.trackCount = SimDefaultTrackCount;
    unit.track = 1;
    unit.cdState = SimCdStopped;
    unit.elapsedMs = 0;
    unit.trackSeconds = SimDefaultTrackSeconds;

    unit.mdPresent = 1;
    unit.mdState = SimMdStopped;
    unit.mdTrack = 1;
    unit.tapeState = SimTapeStopped;

    unit.inputLevel = 0;

    unit.overrideMask = 0;
    for (uint8_t& byte : unit.overrideBytes) {
        byte = 0;
    }
}

bool SimUnitApply(SimUnitState& unit, uint32_t code) {
    // A known code is accepted even when it has no effect (unit off, number out of range).
    for (const NumberedKey& key : NumberedKeys) {
        if (CommandFamilyOf(code) == key.family) {
            if (unit.powerOn) {
                key.press(unit, CommandNumberOf(code));
            }
            return true;
        }
    }
    for (const Key& key : Keys) {
        if (key.code == code) {
            // While off the unit listens only for PowerOn.
            if (unit.powerOn || code == PowerOn) {
                key.press(unit);
            }
            return true;
        }
    }
    return false;
}

bool SimUnitApplyPacket(SimUnitState& unit, const uint8_t (&packet)[32]) {
    // The unit ignores a packet with a bad checksum; bytes 5-31 are not looked at.
    const uint32_t sum = packet[0] + packet[1] + packet[2] + packet[3];
    if ((sum & 0xFF) != packet[4]) {
        return false;
    }
    const uint32_t code = static_cast<uint32_t>(packet[0]) << 24 |
                          static_cast<uint32_t>(packet[1]) << 16 |
                          static_cast<uint32_t>(packet[2]) << 8 | packet[3];
    return SimUnitApply(unit, code);
}

void SimUnitTick(SimUnitState& unit, uint32_t elapsedMs) {
    if (!unit.powerOn || unit.cdState != SimCdPlaying || !HasDisc(unit)) {
        return;
    }
    // A zero track length would never let time pass: such tracks last one second.
    const uint32_t trackMs = (unit.trackSeconds ? unit.trackSeconds : 1) * 1000u;
    const uint32_t room = 0xFFFFFFFFu - unit.elapsedMs;
    unit.elapsedMs += elapsedMs < room ? elapsedMs : room;
    // Each turn ends a track, so this runs at most once per track of the disc.
    while (unit.elapsedMs >= trackMs) {
        unit.elapsedMs -= trackMs;
        if (unit.track >= unit.trackCount) {
            // At the end of the disc the unit stops and goes back to the first track.
            StopCd(unit);
            unit.track = 1;
            return;
        }
        ++unit.track;
    }
}

void SimUnitRenderStatus(const SimUnitState& unit, uint8_t (&block)[32]) {
    for (uint8_t& byte : block) {
        byte = 0;
    }
    block[3] = unit.source;
    block[4] = Bcd(unit.volume);
    const uint8_t powerAndMute = !unit.powerOn ? 2 : unit.muted ? 3 : 1;
    block[5] = static_cast<uint8_t>(unit.soundMode << 4 | powerAndMute);
    block[6] = unit.inputLevel < 0 ? '-' : '+';
    block[7] = static_cast<uint8_t>(unit.inputLevel < 0 ? -unit.inputLevel : unit.inputLevel);

    // Bytes 9, 12 and 13 carry the tuner for the tuner and the CD for every other source, so
    // the CD's track numbers are offered from MD, tape and PC USB as well.
    const uint32_t seconds = unit.elapsedMs / 1000;
    block[10] = Bcd(seconds / 60);
    block[11] = Bcd(seconds % 60);
    if (unit.source == SourceTuner) {
        block[9] = Bcd(unit.preset);
        block[12] = Bcd(unit.frequency / 100u);
        block[13] = Bcd(unit.frequency % 100u);
    } else {
        block[9] = Bcd(unit.track);
        block[12] = unit.discPresent ? 1 : 0;
        block[13] = Bcd(unit.trackCount);
    }
    block[14] = unit.band;
    block[15] = unit.cdState;

    for (int i = 0; i < 32; ++i) {
        if (unit.overrideMask & (1u << i)) {
            block[i] = unit.overrideBytes[i];
        }
    }
}
