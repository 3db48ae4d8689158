#include "tray/status_text.h"

#include "tray/bounded_text.h"
#include "tray/program_name.h"
#include "tray/tray_icons.h"

const char UnreachableSuffix[] = " ドライバにアクセスできません";
const char PowerOffSuffix[] = " <OFF>";

namespace {

const char* SoundModeText(std::int32_t soundMode) {
    switch (soundMode) {
    case SoundModeNone: return "\n";
    case SoundModeNb1: return " (N.B.1)\n";
    case SoundModeNb2: return " (N.B.2)\n";
    case SoundModeTone: return " (TONE)\n";
    // An unknown mode adds no line break: the source text follows on the same line.
    default: return "";
    }
}

char InputLevelSign(std::int32_t level) {
    // A negative level brings its own minus sign after the space.
    return level > 0 ? '+' : ' ';
}

void FormatTunerLine(const UnitStatus& status, TrayUnitState& state, char (&line)[StatusTextSize]) {
    if (status.isAm != 0) {
        FormatText(line, "[TUNER %02d: AM %4dkHz]", status.preset, status.frequency);
    } else {
        FormatText(line, "[TUNER %02d: FM %2d.%02dMHz]", status.preset, status.frequency / 100,
                   status.frequency % 100);
    }
    state.currentSourceItem = TunerItem;
    state.tunerPreset = status.preset;
}

void FormatCdLine(const UnitStatus& status, TrayUnitState& state, char (&line)[StatusTextSize]) {
    state.currentSourceItem = CdItem;
    state.cdTrack = status.track;
    state.cdTrackCount = status.trackCount;
    if (!status.discPresent) {
        FormatText(line, "[CD No Disc]");
        state.cdPlayState = CdNoDisc;
        return;
    }
    state.cdPlayState = status.cdPlayState;
    const char* word = nullptr;
    switch (status.cdPlayState) {
    case CdStopped: word = "STOP"; break;
    case CdPlaying: word = "PLAY"; break;
    case CdPaused: word = "PAUSE"; break;
    // An unknown play state forms no line.
    default: return;
    }
    FormatText(line, "[CD-%s: %02d %02d:%02d]", word, status.track, status.minutes, status.seconds);
}

// Formats the current source's status line into line (left empty where there is none), appends
// what the tooltip shows for the source, and updates the source fields.
void AddSourceLine(const UnitStatus& status, TrayUnitState& state, char (&line)[StatusTextSize]) {
    switch (status.source) {
    case SourceTuner: FormatTunerLine(status, state, line); break;
    case SourceCd: FormatCdLine(status, state, line); break;
    case SourceMd:
        FormatText(line, "[MD Input=%c%d]", InputLevelSign(status.inputLevel), status.inputLevel);
        state.currentSourceItem = MdItem;
        break;
    case SourceTapeAux:
        FormatText(line, "[TAPE/AUX Input=%c%d]", InputLevelSign(status.inputLevel),
                   status.inputLevel);
        state.currentSourceItem = TapeAuxItem;
        break;
    case SourcePcUsb:
        AppendText(state.statusText, " [PC USB]");
        state.currentSourceItem = PcUsbItem;
        break;
    default: break;
    }
    AppendText(state.statusText, "%s", line);
}

} // namespace

RefreshOutcome RefreshTrayUnitState(const UnitStatus* status, TrayUnitState& state) {
    RefreshOutcome outcome = {};
    if (status == nullptr) {
        outcome.iconIndex = IconIndexOf(UnreachableIcon);
        CopyText(outcome.tooltipSuffix, UnreachableSuffix);
        return outcome;
    }
    // Taken before the power test: an off unit never reports muted, so this clears it.
    state.muted = status->muted;
    if (!status->powerOn) {
        state.powerOn = false;
        outcome.iconIndex = IconIndexOf(PowerOffIcon);
        CopyText(outcome.tooltipSuffix, PowerOffSuffix);
        return outcome;
    }
    if (status->muted) {
        CopyText(state.statusText, " <MUTE>");
    } else {
        FormatText(state.statusText, " Vol=%d", status->volume);
    }
    AppendText(state.statusText, "%s", SoundModeText(status->soundMode));
    state.powerOn = true;
    char sourceLine[StatusTextSize] = "";
    AddSourceLine(*status, state, sourceLine);
    outcome.iconIndex = IconIndexOf(PowerOnIcon);
    CopyText(outcome.tooltipSuffix, state.statusText);
    // Between refreshes the popup menu shows the source line alone.
    CopyText(state.statusText, sourceLine);
    return outcome;
}

void FormatTooltip(const char* suffix, char (&tooltip)[TooltipSize]) {
    FormatText(tooltip, "%s%s", ProgramName, suffix);
}
