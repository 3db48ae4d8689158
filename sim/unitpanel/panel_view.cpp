#include "sim/unitpanel/panel_view.h"

#include "tray/dot_matrix.h"
#include "unit/command_code.h"
#include "unit/unit_status.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr unsigned MaxShownMinutes = 99;

template <std::size_t N>
void Put(char (&line)[N], const char* format, ...) __attribute__((format(printf, 2, 3)));

template <std::size_t N> void Put(char (&line)[N], const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, N, format, args);
    va_end(args);
}

void DescribeInputLevel(const SimUnitState& state, PanelView& view) {
    Put(view.subRight, "INPUT %+d", static_cast<int>(state.inputLevel));
}

void DescribeTuner(const SimUnitState& state, PanelView& view) {
    if (state.band == SimBandAm) {
        Put(view.main, "AM %ukHz", static_cast<unsigned>(state.frequency));
    } else {
        Put(view.main, "FM %u.%02uMHz", state.frequency / 100u, state.frequency % 100u);
    }
    Put(view.sub, "PRESET %02u", static_cast<unsigned>(state.preset));
    Put(view.subRight, "%s", state.mono ? "MONO" : "AUTO");
}

void DescribeCd(const SimUnitState& state, PanelView& view) {
    if (!state.discPresent) {
        Put(view.main, "NO DISC");
        return;
    }
    char symbol = DotStop;
    const char* word = "STOP";
    if (state.cdState == SimCdPlaying) {
        symbol = DotPlay;
        word = "PLAY";
    } else if (state.cdState == SimCdPaused) {
        symbol = DotPause;
        word = "PAUSE";
    }
    const unsigned seconds = state.elapsedMs / 1000u;
    const unsigned minutes = seconds / 60u < MaxShownMinutes ? seconds / 60u : MaxShownMinutes;
    Put(view.main, "%c %02u  %02u:%02u", symbol, static_cast<unsigned>(state.track), minutes,
        seconds % 60u);
    Put(view.sub, "%s", word);
    Put(view.subRight, "%u TRACKS", static_cast<unsigned>(state.trackCount));
}

void DescribeMd(const SimUnitState& state, PanelView& view) {
    DescribeInputLevel(state, view);
    if (!state.mdPresent) {
        Put(view.main, "NO DISC");
        return;
    }
    const bool playing = state.mdState == SimMdPlaying;
    Put(view.main, "%c TRACK %02u", playing ? DotPlay : DotStop,
        static_cast<unsigned>(state.mdTrack));
    Put(view.sub, "%s", playing ? "PLAY" : "STOP");
}

void DescribeTape(const SimUnitState& state, PanelView& view) {
    DescribeInputLevel(state, view);
    switch (state.tapeState) {
    case SimTapeForward: Put(view.main, "%c PLAY", DotPlay); break;
    case SimTapeReverse: Put(view.main, "%c PLAY", DotReverse); break;
    case SimTapeFastForward: Put(view.main, "%c%c FF", DotPlay, DotPlay); break;
    case SimTapeRewind: Put(view.main, "%c%c REW", DotReverse, DotReverse); break;
    default: Put(view.main, "%c STOP", DotStop); break;
    }
    switch (state.tapeState) {
    case SimTapeForward: Put(view.sub, "FORWARD"); break;
    case SimTapeReverse: Put(view.sub, "REVERSE"); break;
    case SimTapeFastForward: Put(view.sub, "FAST FORWARD"); break;
    case SimTapeRewind: Put(view.sub, "REWIND"); break;
    default: break;
    }
}

void DescribeSource(const SimUnitState& state, PanelView& view) {
    switch (state.source) {
    case SourceTuner: DescribeTuner(state, view); break;
    case SourceCd: DescribeCd(state, view); break;
    case SourceMd: DescribeMd(state, view); break;
    case SourceTapeAux: DescribeTape(state, view); break;
    case SourcePcUsb: Put(view.main, "USB AUDIO"); break;
    default: Put(view.main, "SOURCE %u", static_cast<unsigned>(state.source)); break;
    }
}

// Appends " | " and text, without the display's symbols and the blanks they leave.
void AppendWords(char* out, std::size_t size, std::size_t& used, const char* text) {
    while (*text != '\0' && (static_cast<unsigned char>(*text) < 0x20 || *text == ' ')) {
        ++text;
    }
    if (*text == '\0' || used + 1 >= size) {
        return;
    }
    const int written = std::snprintf(out + used, size - used, "%s", used == 0 ? "" : " | ");
    used += written > 0 ? static_cast<std::size_t>(written) : 0;
    for (; *text != '\0' && used + 1 < size; ++text) {
        if (static_cast<unsigned char>(*text) >= 0x20) {
            out[used++] = *text;
        }
    }
    out[used < size ? used : size - 1] = '\0';
}

} // namespace

const char* PanelSourceName(int source) {
    switch (source) {
    case SourcePcUsb: return "PC USB";
    case SourceTuner: return "TUNER";
    case SourceCd: return "CD";
    case SourceMd: return "MD";
    case SourceTapeAux: return "TAPE";
    default: return "";
    }
}

const char* PanelSoundModeName(int soundMode) {
    switch (soundMode) {
    case SoundModeNb1: return "N.B.1";
    case SoundModeNb2: return "N.B.2";
    case SoundModeTone: return "TONE";
    default: return "";
    }
}

PanelView DescribePanel(PanelLink link, unsigned instance, const SimUnitState& state) {
    PanelView view = {};
    view.link = link;
    view.source = PanelNoSource;
    switch (link) {
    case PanelLink::NoDriver:
        Put(view.main, "NO DRIVER");
        Put(view.sub, "WAITING FOR IT");
        return view;
    case PanelLink::NoUnit:
        Put(view.main, "NO UNIT %u", instance);
        Put(view.sub, "WAITING FOR IT");
        return view;
    case PanelLink::Unplugged:
        Put(view.main, "UNPLUGGED");
        Put(view.sub, "OFF THE USB BUS");
        return view;
    case PanelLink::Ready: break;
    }
    view.powerOn = state.powerOn != 0;
    view.source = state.source;
    if (!view.powerOn) {
        Put(view.main, "STANDBY");
        return view;
    }
    view.muted = state.muted != 0;
    view.soundMode = state.soundMode;
    view.volume = state.volume;
    DescribeSource(state, view);
    return view;
}

bool SamePanelView(const PanelView& a, const PanelView& b) {
    return a.link == b.link && a.powerOn == b.powerOn && a.muted == b.muted &&
           a.source == b.source && a.soundMode == b.soundMode && a.volume == b.volume &&
           std::strcmp(a.main, b.main) == 0 && std::strcmp(a.sub, b.sub) == 0 &&
           std::strcmp(a.subRight, b.subRight) == 0;
}

void PanelDisplayText(const PanelView& view, char* out, std::size_t size) {
    if (size == 0) {
        return;
    }
    out[0] = '\0';
    std::size_t used = 0;
    if (view.link == PanelLink::Ready && view.powerOn) {
        char volume[16];
        std::snprintf(volume, sizeof(volume), "VOL %d", view.volume);
        AppendWords(out, size, used, PanelSourceName(view.source));
        AppendWords(out, size, used, volume);
        AppendWords(out, size, used, view.muted ? "MUTE" : "");
        AppendWords(out, size, used, PanelSoundModeName(view.soundMode));
    }
    AppendWords(out, size, used, view.main);
    AppendWords(out, size, used, view.sub);
    AppendWords(out, size, used, view.subRight);
}
