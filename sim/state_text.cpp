#include "sim/state_text.h"

#include "unit/command_code.h"
#include "unit/unit_status.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr int StatusBytes = 32;

struct Word {
    const char* text;
    int value;
};

const Word OnOff[] = {{"on", 1}, {"off", 0}};
const Word YesNo[] = {{"yes", 1}, {"no", 0}};
const Word Sources[] = {{"pcusb", SourcePcUsb},
                        {"tuner", SourceTuner},
                        {"cd", SourceCd},
                        {"md", SourceMd},
                        {"tape", SourceTapeAux}};
const Word SoundModes[] = {
    {"none", SoundModeNone}, {"nb1", SoundModeNb1}, {"nb2", SoundModeNb2}, {"tone", SoundModeTone}};
const Word Bands[] = {{"fm", SimBandFm}, {"am", SimBandAm}};
const Word CdStates[] = {{"stop", SimCdStopped}, {"play", SimCdPlaying}, {"pause", SimCdPaused}};
const Word MdStates[] = {{"stop", SimMdStopped}, {"play", SimMdPlaying}};
const Word TapeStates[] = {{"stop", SimTapeStopped},
                           {"forward", SimTapeForward},
                           {"reverse", SimTapeReverse},
                           {"ff", SimTapeFastForward},
                           {"rewind", SimTapeRewind}};

template <std::size_t N> bool ParseWord(const Word (&words)[N], const char* text, int& value) {
    for (const Word& word : words) {
        if (std::strcmp(word.text, text) == 0) {
            value = word.value;
            return true;
        }
    }
    return false;
}

// A value the words do not cover (set through the driver's raw state) is shown as a number.
template <std::size_t N>
void DescribeWord(const Word (&words)[N], int value, char* out, std::size_t size) {
    for (const Word& word : words) {
        if (word.value == value) {
            std::snprintf(out, size, "%s", word.text);
            return;
        }
    }
    std::snprintf(out, size, "unknown (%d)", value);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigit(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The whole text as a number: an optional sign, then decimal digits or 0x and hex digits.
// Long digit runs are refused rather than overflowed.
bool ParseNumber(const char* text, long min, long max, long& value) {
    bool negative = false;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        ++text;
    }
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == '\0' || std::strlen(text) > 8) {
        return false;
    }
    // Eight hex digits need more than the 32 bits of a long on Windows.
    long long magnitude = 0;
    for (; *text != '\0'; ++text) {
        const int digit = HexDigit(*text);
        if (digit < 0 || digit >= base) {
            return false;
        }
        magnitude = magnitude * base + digit;
    }
    const long long number = negative ? -magnitude : magnitude;
    if (number < min || number > max) {
        return false;
    }
    value = static_cast<long>(number);
    return true;
}

// M:SS or MM:SS.
bool ParseMinutesSeconds(const char* text, int& seconds) {
    constexpr int MaxMinuteDigits = 2;
    int minutes = 0;
    int minuteDigits = 0;
    // Digits beyond the second only count towards the refusal, so a long run cannot overflow.
    for (; IsDigit(*text); ++text) {
        if (++minuteDigits <= MaxMinuteDigits) {
            minutes = minutes * 10 + (*text - '0');
        }
    }
    if (minuteDigits < 1 || minuteDigits > MaxMinuteDigits || text[0] != ':' || !IsDigit(text[1]) ||
        !IsDigit(text[2]) || text[3] != '\0') {
        return false;
    }
    const int secondsPart = (text[1] - '0') * 10 + (text[2] - '0');
    if (secondsPart > 59) {
        return false;
    }
    seconds = minutes * 60 + secondsPart;
    return true;
}

bool InBand(int band, long frequency) {
    return band == SimBandFm ? frequency >= SimFmLowest && frequency <= SimFmHighest
                             : frequency >= SimAmLowest && frequency <= SimAmHighest;
}

SimPreset* CurrentPreset(SimUnitState& state) {
    return state.preset >= 1 && state.preset <= SimPresetCount ? &state.presets[state.preset - 1]
                                                               : nullptr;
}

void Format(char* out, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

void Format(char* out, std::size_t size, const char* format, ...) {
    if (out == nullptr || size == 0) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::vsnprintf(out, size, format, args);
    va_end(args);
}

// One assignment being applied, with what its error message needs.
struct Attempt {
    const char* assignment;
    const char* value;
    const char* accepted;
    int rawIndex; // raw.N only
    char* error;
    std::size_t errorSize;

    bool Reject() const {
        Format(error, errorSize, "%s: expected %s", assignment, accepted);
        return false;
    }
    bool Reject(const char* reason) const {
        Format(error, errorSize, "%s: %s", assignment, reason);
        return false;
    }
};

using Setter = bool (*)(SimUnitState&, const Attempt&);
using Describer = void (*)(const SimUnitState&, char*, std::size_t);

// --- setters: each either changes the state and returns true, or leaves it and rejects ---

template <std::size_t N, typename T>
bool SetWord(const Word (&words)[N], T& field, const Attempt& attempt) {
    int value = 0;
    if (!ParseWord(words, attempt.value, value)) {
        return attempt.Reject();
    }
    field = static_cast<T>(value);
    return true;
}

bool SetPower(SimUnitState& s, const Attempt& a) {
    return SetWord(OnOff, s.powerOn, a);
}
bool SetMute(SimUnitState& s, const Attempt& a) {
    return SetWord(OnOff, s.muted, a);
}
bool SetSource(SimUnitState& s, const Attempt& a) {
    return SetWord(Sources, s.source, a);
}
bool SetSoundMode(SimUnitState& s, const Attempt& a) {
    return SetWord(SoundModes, s.soundMode, a);
}
bool SetMono(SimUnitState& s, const Attempt& a) {
    return SetWord(OnOff, s.mono, a);
}
bool SetTape(SimUnitState& s, const Attempt& a) {
    return SetWord(TapeStates, s.tapeState, a);
}

bool SetVolumeField(SimUnitState& s, const Attempt& a) {
    long volume = 0;
    if (!ParseNumber(a.value, MinVolume, MaxVolume, volume)) {
        return a.Reject();
    }
    s.volume = static_cast<uint8_t>(volume);
    return true;
}

// Changes the band of the tuner and of the preset it is on; a frequency outside the new band
// moves to the bottom of it, so that band=am frequency=1449 reads naturally.
bool SetBand(SimUnitState& s, const Attempt& a) {
    int band = 0;
    if (!ParseWord(Bands, a.value, band)) {
        return a.Reject();
    }
    s.band = static_cast<uint8_t>(band);
    if (!InBand(band, s.frequency)) {
        s.frequency = band == SimBandFm ? SimFmLowest : SimAmLowest;
    }
    if (SimPreset* preset = CurrentPreset(s)) {
        preset->band = s.band;
        preset->frequency = s.frequency;
    }
    return true;
}

bool SetPreset(SimUnitState& s, const Attempt& a) {
    long number = 0;
    if (!ParseNumber(a.value, 1, SimPresetCount, number)) {
        return a.Reject();
    }
    const SimPreset& preset = s.presets[number - 1];
    s.preset = static_cast<uint8_t>(number);
    s.band = preset.band;
    s.frequency = preset.frequency;
    return true;
}

bool SetFrequency(SimUnitState& s, const Attempt& a) {
    long frequency = 0;
    if (!ParseNumber(a.value, 0, 0xFFFF, frequency) || !InBand(s.band, frequency)) {
        char reason[80];
        if (s.band == SimBandFm) {
            std::snprintf(reason, sizeof reason, "expected %d..%d on FM (8750 is 87.50 MHz)",
                          SimFmLowest, SimFmHighest);
        } else {
            std::snprintf(reason, sizeof reason, "expected %d..%d on AM (kHz)", SimAmLowest,
                          SimAmHighest);
        }
        return a.Reject(reason);
    }
    s.frequency = static_cast<uint16_t>(frequency);
    if (SimPreset* preset = CurrentPreset(s)) {
        preset->band = s.band;
        preset->frequency = s.frequency;
    }
    return true;
}

void RemoveDisc(SimUnitState& s) {
    s.discPresent = 0;
    s.trackCount = 0;
    s.track = 0;
    s.cdState = SimCdStopped;
    s.elapsedMs = 0;
}

bool SetDisc(SimUnitState& s, const Attempt& a) {
    int present = 0;
    if (!ParseWord(YesNo, a.value, present)) {
        return a.Reject();
    }
    if (!present) {
        RemoveDisc(s);
    } else if (!s.discPresent || s.trackCount == 0) {
        s.discPresent = 1;
        s.trackCount = SimDefaultTrackCount;
        s.track = 1;
    }
    return true;
}

// A track count loads a disc of that many tracks, keeping the track where it still fits.
bool SetTracks(SimUnitState& s, const Attempt& a) {
    long count = 0;
    if (!ParseNumber(a.value, 1, SimMaxTracks, count)) {
        return a.Reject();
    }
    s.discPresent = 1;
    s.trackCount = static_cast<uint8_t>(count);
    if (s.track < 1 || s.track > count) {
        s.track = s.track < 1 ? 1 : s.trackCount;
        s.elapsedMs = 0;
    }
    return true;
}

bool SetTrack(SimUnitState& s, const Attempt& a) {
    if (!s.discPresent || s.trackCount == 0) {
        return a.Reject("no disc; set disc=yes or tracks=N first");
    }
    long track = 0;
    if (!ParseNumber(a.value, 1, s.trackCount, track)) {
        char reason[64];
        std::snprintf(reason, sizeof reason, "expected 1..%d (the disc's track count)",
                      s.trackCount);
        return a.Reject(reason);
    }
    s.track = static_cast<uint8_t>(track);
    s.elapsedMs = 0;
    return true;
}

bool SetCd(SimUnitState& s, const Attempt& a) {
    int state = 0;
    if (!ParseWord(CdStates, a.value, state)) {
        return a.Reject();
    }
    if (state != SimCdStopped && (!s.discPresent || s.trackCount == 0)) {
        return a.Reject("no disc to play; set disc=yes or tracks=N first");
    }
    s.cdState = static_cast<uint8_t>(state);
    if (state == SimCdStopped) {
        s.elapsedMs = 0;
    }
    return true;
}

bool SetTime(SimUnitState& s, const Attempt& a) {
    int seconds = 0;
    if (!ParseMinutesSeconds(a.value, seconds)) {
        return a.Reject();
    }
    s.elapsedMs = static_cast<uint32_t>(seconds) * 1000u;
    return true;
}

bool SetLength(SimUnitState& s, const Attempt& a) {
    int seconds = 0;
    if (!ParseMinutesSeconds(a.value, seconds) || seconds == 0) {
        return a.Reject();
    }
    s.trackSeconds = static_cast<uint16_t>(seconds);
    return true;
}

bool SetMdDisc(SimUnitState& s, const Attempt& a) {
    int present = 0;
    if (!ParseWord(YesNo, a.value, present)) {
        return a.Reject();
    }
    s.mdPresent = static_cast<uint8_t>(present);
    if (!present) {
        s.mdState = SimMdStopped;
        s.mdTrack = 0;
    } else if (s.mdTrack == 0) {
        s.mdTrack = 1;
    }
    return true;
}

bool SetMd(SimUnitState& s, const Attempt& a) {
    int state = 0;
    if (!ParseWord(MdStates, a.value, state)) {
        return a.Reject();
    }
    if (state == SimMdPlaying && !s.mdPresent) {
        return a.Reject("no MD to play; set mddisc=yes first");
    }
    s.mdState = static_cast<uint8_t>(state);
    return true;
}

bool SetMdTrack(SimUnitState& s, const Attempt& a) {
    if (!s.mdPresent) {
        return a.Reject("no MD; set mddisc=yes first");
    }
    long track = 0;
    if (!ParseNumber(a.value, 1, SimMaxTracks, track)) {
        return a.Reject();
    }
    s.mdTrack = static_cast<uint8_t>(track);
    return true;
}

bool SetInputLevel(SimUnitState& s, const Attempt& a) {
    long level = 0;
    if (!ParseNumber(a.value, SimInputLevelMin, SimInputLevelMax, level)) {
        return a.Reject();
    }
    s.inputLevel = static_cast<int8_t>(level);
    return true;
}

bool ClearRaw(SimUnitState& s, const Attempt& a) {
    if (std::strcmp(a.value, "clear") != 0) {
        return a.Reject();
    }
    s.overrideMask = 0;
    for (uint8_t& byte : s.overrideBytes) {
        byte = 0;
    }
    return true;
}

bool SetRawByte(SimUnitState& s, const Attempt& a) {
    const uint32_t bit = 1u << a.rawIndex;
    if (std::strcmp(a.value, "off") == 0) {
        s.overrideMask &= ~bit;
        s.overrideBytes[a.rawIndex] = 0;
        return true;
    }
    long value = 0;
    if (!ParseNumber(a.value, 0, 0xFF, value)) {
        return a.Reject();
    }
    s.overrideMask |= bit;
    s.overrideBytes[a.rawIndex] = static_cast<uint8_t>(value);
    return true;
}

// --- describers: the value part of a field's line ---

void DescribePower(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(OnOff, s.powerOn, o, n);
}
void DescribeMute(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(OnOff, s.muted, o, n);
}
void DescribeVolume(const SimUnitState& s, char* o, std::size_t n) {
    std::snprintf(o, n, "%d", s.volume);
}
void DescribeSource(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(Sources, s.source, o, n);
}
void DescribeSoundMode(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(SoundModes, s.soundMode, o, n);
}
void DescribeBand(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(Bands, s.band, o, n);
}
void DescribeMono(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(OnOff, s.mono, o, n);
}
void DescribePreset(const SimUnitState& s, char* o, std::size_t n) {
    std::snprintf(o, n, "%d", s.preset);
}
void DescribeFrequency(const SimUnitState& s, char* o, std::size_t n) {
    if (s.band == SimBandFm) {
        std::snprintf(o, n, "%d.%02d MHz", s.frequency / 100, s.frequency % 100);
    } else {
        std::snprintf(o, n, "%d kHz", s.frequency);
    }
}
void DescribeDisc(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(YesNo, s.discPresent, o, n);
}
void DescribeTracks(const SimUnitState& s, char* o, std::size_t n) {
    std::snprintf(o, n, "%d", s.trackCount);
}
void DescribeTrack(const SimUnitState& s, char* o, std::size_t n) {
    std::snprintf(o, n, "%d", s.track);
}
void DescribeCd(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(CdStates, s.cdState, o, n);
}
void DescribeMinutesSeconds(unsigned long seconds, char* o, std::size_t n) {
    std::snprintf(o, n, "%02lu:%02lu", seconds / 60, seconds % 60);
}
void DescribeTime(const SimUnitState& s, char* o, std::size_t n) {
    DescribeMinutesSeconds(s.elapsedMs / 1000, o, n);
}
void DescribeLength(const SimUnitState& s, char* o, std::size_t n) {
    DescribeMinutesSeconds(s.trackSeconds, o, n);
}
void DescribeMdDisc(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(YesNo, s.mdPresent, o, n);
}
void DescribeMd(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(MdStates, s.mdState, o, n);
}
void DescribeMdTrack(const SimUnitState& s, char* o, std::size_t n) {
    std::snprintf(o, n, "%d", s.mdTrack);
}
void DescribeTape(const SimUnitState& s, char* o, std::size_t n) {
    DescribeWord(TapeStates, s.tapeState, o, n);
}
void DescribeInputLevel(const SimUnitState& s, char* o, std::size_t n) {
    std::snprintf(o, n, "%d", s.inputLevel);
}

struct Field {
    SimFieldInfo info;
    Setter set;
    Describer describe; // null: not a line of its own
};

const char RawByteName[] = "raw.N";

// In the order the description lists them.
const Field Fields[] = {
    {{"power", "on, off"}, SetPower, DescribePower},
    {{"mute", "on, off"}, SetMute, DescribeMute},
    {{"volume", "0..80"}, SetVolumeField, DescribeVolume},
    {{"source", "pcusb, tuner, cd, md, tape"}, SetSource, DescribeSource},
    {{"soundmode", "none, nb1, nb2, tone"}, SetSoundMode, DescribeSoundMode},
    {{"band", "fm, am"}, SetBand, DescribeBand},
    {{"mono", "on, off"}, SetMono, DescribeMono},
    {{"preset", "1..40"}, SetPreset, DescribePreset},
    {{"frequency", "7600..9000 on FM (8750 is 87.50 MHz), 531..1629 on AM (kHz)"},
     SetFrequency,
     DescribeFrequency},
    {{"disc", "yes, no"}, SetDisc, DescribeDisc},
    {{"tracks", "1..99"}, SetTracks, DescribeTracks},
    {{"track", "1..tracks"}, SetTrack, DescribeTrack},
    {{"cd", "stop, play, pause"}, SetCd, DescribeCd},
    {{"time", "M:SS, 0:00..99:59"}, SetTime, DescribeTime},
    {{"length", "M:SS, 0:01..99:59 (every track's length)"}, SetLength, DescribeLength},
    {{"mddisc", "yes, no"}, SetMdDisc, DescribeMdDisc},
    {{"md", "stop, play"}, SetMd, DescribeMd},
    {{"mdtrack", "1..99"}, SetMdTrack, DescribeMdTrack},
    {{"tape", "stop, forward, reverse, ff, rewind"}, SetTape, DescribeTape},
    {{"inputlevel", "-12..12"}, SetInputLevel, DescribeInputLevel},
    {{RawByteName, "0..255 or 0x00..0xFF, or off (N = status byte 0..31)"}, SetRawByte, nullptr},
    {{"raw", "clear"}, ClearRaw, nullptr},
};

const Field* FindField(const char* name, std::size_t length) {
    for (const Field& field : Fields) {
        if (std::strlen(field.info.name) == length &&
            std::strncmp(field.info.name, name, length) == 0) {
            return &field;
        }
    }
    return nullptr;
}

// Counts what it could not write, so the caller learns the full length.
class TextOut {
public:
    TextOut(char* out, std::size_t size) : out_(out), size_(size) {
        if (size_ > 0) {
            out_[0] = '\0';
        }
    }

    void Line(const char* name, const char* value) {
        const std::size_t used = length_ < size_ ? length_ : size_;
        char* at = used < size_ ? out_ + used : nullptr;
        const int written = std::snprintf(at, at ? size_ - used : 0, "%s: %s\n", name, value);
        if (written > 0) {
            length_ += static_cast<std::size_t>(written);
        }
    }

    std::size_t Length() const { return length_; }

private:
    char* out_;
    std::size_t size_;
    std::size_t length_ = 0;
};

void ListFieldNames(char* out, std::size_t size) {
    std::size_t used = 0;
    for (const Field& field : Fields) {
        if (used >= size) {
            return;
        }
        const int written =
            std::snprintf(out + used, size - used, "%s%s", used == 0 ? "" : ", ", field.info.name);
        if (written < 0) {
            return;
        }
        used += static_cast<std::size_t>(written);
    }
}

} // namespace

std::size_t SimFieldCount() {
    return sizeof Fields / sizeof Fields[0];
}

const SimFieldInfo& SimField(std::size_t index) {
    return Fields[index].info;
}

std::size_t DescribeSimUnitState(const SimUnitState& state, char* out, std::size_t size) {
    TextOut text(out, size);
    char value[48];
    for (const Field& field : Fields) {
        if (field.describe != nullptr) {
            field.describe(state, value, sizeof value);
            text.Line(field.info.name, value);
        }
    }
    for (int i = 0; i < StatusBytes; ++i) {
        if (state.overrideMask & (1u << i)) {
            char name[8];
            std::snprintf(name, sizeof name, "raw.%d", i);
            std::snprintf(value, sizeof value, "0x%02X", state.overrideBytes[i]);
            text.Line(name, value);
        }
    }
    return text.Length();
}

bool ApplySimFieldAssignment(SimUnitState& state, const char* assignment, char* error,
                             std::size_t errorSize) {
    Format(error, errorSize, "%s", "");
    const char* equals = std::strchr(assignment, '=');
    if (equals == nullptr || equals == assignment) {
        Format(error, errorSize, "%s: expected FIELD=VALUE", assignment);
        return false;
    }
    const std::size_t nameLength = static_cast<std::size_t>(equals - assignment);
    Attempt attempt = {assignment, equals + 1, nullptr, 0, error, errorSize};

    const Field* field = nullptr;
    constexpr std::size_t RawPrefixLength = 4; // "raw."
    if (nameLength > RawPrefixLength && std::strncmp(assignment, "raw.", RawPrefixLength) == 0) {
        int index = 0;
        std::size_t at = RawPrefixLength;
        for (; at < nameLength && at < RawPrefixLength + 2 && IsDigit(assignment[at]); ++at) {
            index = index * 10 + (assignment[at] - '0');
        }
        if (at != nameLength || index >= StatusBytes) {
            Format(error, errorSize, "%.*s: a status byte is raw.0 to raw.31",
                   static_cast<int>(nameLength), assignment);
            return false;
        }
        attempt.rawIndex = index;
        field = FindField(RawByteName, sizeof RawByteName - 1);
    } else {
        field = FindField(assignment, nameLength);
    }
    if (field == nullptr) {
        char names[256] = {};
        ListFieldNames(names, sizeof names);
        Format(error, errorSize, "%.*s: unknown field; fields are %s", static_cast<int>(nameLength),
               assignment, names);
        return false;
    }
    attempt.accepted = field->info.values;

    // Work on a copy so that a rejected value can never leave the state half changed.
    SimUnitState changed = state;
    if (!field->set(changed, attempt)) {
        return false;
    }
    state = changed;
    return true;
}

bool ApplySimFieldAssignments(SimUnitState& state, const char* const* assignments,
                              std::size_t count, char* error, std::size_t errorSize) {
    SimUnitState changed = state;
    for (std::size_t i = 0; i < count; ++i) {
        if (!ApplySimFieldAssignment(changed, assignments[i], error, errorSize)) {
            return false;
        }
    }
    state = changed;
    return true;
}
