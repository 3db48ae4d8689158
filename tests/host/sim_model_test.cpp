#include "sim/state_text.h"
#include "sim/unit_model.h"
#include "unit/command_code.h"
#include "unit/command_names.h"
#include "unit/command_packet.h"
#include "unit/unit_status.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// The factory unit with the given space-separated FIELD=VALUE assignments applied.
SimUnitState Unit(const std::string& assignments) {
    SimUnitState unit;
    SimUnitReset(unit);
    std::istringstream words(assignments);
    std::string word;
    while (words >> word) {
        char error[256];
        EXPECT_TRUE(ApplySimFieldAssignment(unit, word.c_str(), error, sizeof error)) << error;
    }
    return unit;
}

std::string Describe(const SimUnitState& unit) {
    char text[1024];
    DescribeSimUnitState(unit, text, sizeof text);
    return text;
}

// The text covers every field but the preset memory and time finer than a second.
void ExpectSameState(const SimUnitState& actual, const SimUnitState& expected) {
    EXPECT_EQ(Describe(actual), Describe(expected));
    EXPECT_EQ(actual.elapsedMs, expected.elapsedMs);
    for (int i = 0; i < SimPresetCount; ++i) {
        EXPECT_EQ(actual.presets[i].band, expected.presets[i].band) << "preset " << i + 1;
        EXPECT_EQ(actual.presets[i].frequency, expected.presets[i].frequency) << "preset " << i + 1;
    }
}

struct CommandCase {
    const char* given; // on top of a factory unit that is switched on
    std::uint32_t code;
    const char* changes; // the given state with these assignments is what the command leaves
};

std::uint32_t N(CommandCode family, std::uint32_t number) {
    return NumberedCommand(family, number);
}

void RunCommandCases(const CommandCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const CommandCase& c = cases[i];
        const CommandName* name = FindCommandByCode(c.code);
        SCOPED_TRACE(testing::Message() << (name ? name->name : "?") << " 0x" << std::hex << c.code
                                        << " given '" << c.given << "'");
        const std::string given = std::string("power=on ") + c.given;
        SimUnitState unit = Unit(given);
        EXPECT_TRUE(SimUnitApply(unit, c.code));
        ExpectSameState(unit, Unit(given + " " + c.changes));
    }
}

template <std::size_t Count> void RunCommandCases(const CommandCase (&cases)[Count]) {
    RunCommandCases(cases, Count);
}

TEST(SimUnitCommands, PowerMuteAndVolume) {
    const CommandCase cases[] = {
        {"", PowerOn, ""},
        {"mute=on source=cd cd=play time=1:00 md=play tape=ff", PowerOff,
         "power=off mute=off cd=stop md=stop tape=stop"},
        {"", MuteToggle, "mute=on"},
        {"mute=on", MuteToggle, "mute=off"},
        {"", N(SetVolume, 0), "volume=0"},
        {"", N(SetVolume, 80), "volume=80"},
        {"mute=on", N(SetVolume, 30), "volume=30 mute=off"},
        {"mute=on", N(SetVolume, 81), ""},
        {"", N(SetVolume, 0xFF), ""},
    };
    RunCommandCases(cases);
}

TEST(SimUnitCommands, OnlyPowerOnWorksWhileOff) {
    const CommandCase cases[] = {
        {"power=off", PowerOn, "power=on"}, {"power=off", PowerOff, ""},
        {"power=off", MuteToggle, ""},      {"power=off", N(SetVolume, 10), ""},
        {"power=off", SelectCd, ""},        {"power=off", NbKey, ""},
        {"power=off", TunerPresetNext, ""}, {"power=off", N(TunerPreset, 3), ""},
        {"power=off", CdPlayPause, ""},     {"power=off", N(CdTrack, 2), ""},
        {"power=off", CdEject, ""},         {"power=off", MdEject, ""},
        {"power=off", InputLevelUp, ""},    {"power=off", TapePlayForward, ""},
    };
    RunCommandCases(cases);
}

TEST(SimUnitCommands, SourcesAndSoundMode) {
    const CommandCase cases[] = {
        {"", SelectPcUsb, "source=pcusb"},
        {"", SelectCd, "source=cd"},
        {"", SelectMd, "source=md"},
        {"", SelectTapeAux, "source=tape"},
        {"source=cd", SelectTuner, "source=tuner"},
        // Only the selected deck plays; reselecting the same source keeps it playing.
        {"source=cd cd=play time=0:30", SelectTuner, "source=tuner cd=stop"},
        {"source=cd cd=pause time=0:30", SelectMd, "source=md cd=stop"},
        {"source=cd cd=play time=0:30", SelectCd, ""},
        {"source=md md=play", SelectTuner, "source=tuner md=stop"},
        {"source=tape tape=forward", SelectMd, "source=md tape=stop"},
        {"", NbKey, "soundmode=nb1"},
        {"soundmode=nb1", NbKey, "soundmode=nb2"},
        {"soundmode=nb2", NbKey, "soundmode=tone"},
        {"soundmode=tone", NbKey, "soundmode=none"},
    };
    RunCommandCases(cases);
}

TEST(SimUnitCommands, Tuner) {
    const CommandCase cases[] = {
        {"", TunerBand, "preset=21"}, // the first AM preset
        {"preset=25", TunerBand, "preset=1"},
        {"", TunerAutoMono, "mono=on"},
        {"mono=on", TunerAutoMono, "mono=off"},
        {"", TunerPresetNext, "preset=2"},
        {"preset=20", TunerPresetNext, "preset=21"},
        {"preset=40", TunerPresetNext, "preset=1"},
        {"preset=2", TunerPresetPrev, "preset=1"},
        {"", TunerPresetPrev, "preset=40"},
        {"", N(TunerPreset, 7), "preset=7"},
        {"", N(TunerPreset, 40), "preset=40"},
        {"source=cd", N(TunerPreset, 7), "preset=7"},
        {"", N(TunerPreset, 0), ""},
        {"", N(TunerPreset, 41), ""},
        {"", N(TunerPreset, 99), ""},
        // A preset whose frequency was changed is tuned to what it holds.
        {"preset=3 frequency=8750 preset=1", N(TunerPreset, 3), "preset=3"},
    };
    RunCommandCases(cases);
}

TEST(SimUnitCommands, CdTransport) {
    const CommandCase cases[] = {
        {"", CdPlayPause, "source=cd cd=play"},
        {"source=cd cd=play time=1:00", CdPlayPause, "cd=pause"},
        {"source=cd cd=pause time=1:00", CdPlayPause, "cd=play"},
        {"source=md md=play", CdPlayPause, "source=cd md=stop cd=play"},
        {"disc=no", CdPlayPause, ""},
        {"source=cd track=5 cd=play time=1:00", CdStop, "cd=stop"},
        {"track=5 time=1:00", CdNext, "track=6"},
        {"track=12 cd=play time=1:00", CdNext, "track=1"},
        {"track=4 cd=pause", CdNext, "track=5"},
        {"disc=no", CdNext, ""},
        {"track=5 cd=play time=0:03", CdPrev, "track=5"},
        {"track=5 cd=play time=0:02", CdPrev, "track=4"},
        {"track=5", CdPrev, "track=4"},
        {"track=1", CdPrev, "track=12"},
        {"disc=no", CdPrev, ""},
        {"source=cd track=3 cd=play time=1:00", CdEject, "disc=no"},
        {"disc=no", CdEject, "disc=yes"},
        {"tracks=5 disc=no", CdEject, "disc=yes tracks=12"},
        {"", N(CdTrack, 3), "source=cd track=3 cd=play"},
        {"source=cd track=2 cd=pause time=1:00", N(CdTrack, 12), "track=12 cd=play"},
        {"source=md md=play", N(CdTrack, 2), "source=cd md=stop track=2 cd=play"},
        {"", N(CdTrack, 0), ""},
        {"", N(CdTrack, 13), ""},
        {"tracks=5", N(CdTrack, 6), ""},
        {"disc=no", N(CdTrack, 1), ""},
    };
    RunCommandCases(cases);
}

TEST(SimUnitCommands, MdTapeAndInputLevel) {
    const CommandCase cases[] = {
        {"", MdPlay, "source=md md=play"},
        {"mddisc=no", MdPlay, ""},
        {"source=md md=play", MdStop, "md=stop"},
        {"", MdNext, "mdtrack=2"},
        {"mdtrack=99", MdNext, ""},
        {"mdtrack=5", MdPrev, "mdtrack=4"},
        {"", MdPrev, ""},
        {"source=md md=play mdtrack=3", MdEject, "mddisc=no"},
        {"mddisc=no", MdEject, "mddisc=yes"},
        {"", TapePlayForward, "source=tape tape=forward"},
        {"", TapePlayReverse, "source=tape tape=reverse"},
        {"source=tape tape=ff", TapeStop, "tape=stop"},
        {"", TapeRewind, "tape=rewind"},
        {"", TapeFastForward, "tape=ff"},
        {"", InputLevelUp, "inputlevel=1"},
        {"inputlevel=12", InputLevelUp, ""},
        {"inputlevel=-3", InputLevelDown, "inputlevel=-4"},
        {"inputlevel=-12", InputLevelDown, ""},
    };
    RunCommandCases(cases);
}

TEST(SimUnitCommands, UnknownCodesAreRefusedAndChangeNothing) {
    const std::uint32_t codes[] = {0,           0xB8020000u, PowerOn + 1, 0xB9020681u,
                                   0xB8024E05u, 0xB8034D10u, 0xFFFFFFFFu};
    for (const std::uint32_t code : codes) {
        SimUnitState unit = Unit("power=on");
        EXPECT_FALSE(SimUnitApply(unit, code)) << std::hex << code;
        ExpectSameState(unit, Unit("power=on"));
    }
}

TEST(SimUnitCommands, BandWithoutPresetsGoesToTheBottomOfTheOtherBand) {
    SimUnitState unit = Unit("power=on preset=5");
    for (SimPreset& preset : unit.presets) {
        preset.band = SimBandFm;
    }
    SimUnitApply(unit, TunerBand);
    EXPECT_EQ(unit.band, SimBandAm);
    EXPECT_EQ(unit.frequency, SimAmLowest);
    EXPECT_EQ(unit.preset, 5);
}

TEST(SimUnitReset, PresetsLieInTheirBands) {
    const SimUnitState unit = Unit("");
    for (const SimPreset& preset : unit.presets) {
        if (preset.band == SimBandFm) {
            EXPECT_GE(preset.frequency, SimFmLowest);
            EXPECT_LE(preset.frequency, SimFmHighest);
        } else {
            EXPECT_GE(preset.frequency, SimAmLowest);
            EXPECT_LE(preset.frequency, SimAmHighest);
            EXPECT_EQ((preset.frequency - SimAmLowest) % 9, 0) << preset.frequency;
        }
    }
}

TEST(SimUnitPacket, EveryCommandOfTheTableIsAccepted) {
    for (std::size_t i = 0; i < CommandNameCount; ++i) {
        const CommandName& command = CommandNames[i];
        std::uint8_t packet[CommandPacketSize];
        EncodeCommandPacket(command.numbered ? command.code + 1 : command.code, packet);
        SimUnitState unit = Unit("power=on");
        EXPECT_TRUE(SimUnitApplyPacket(unit, packet)) << command.name;
    }
}

TEST(SimUnitPacket, ChecksumIsCheckedAndTheCodeReadBigEndian) {
    std::uint8_t packet[CommandPacketSize];
    EncodeCommandPacket(NumberedCommand(SetVolume, 40), packet);
    SimUnitState unit = Unit("power=on");
    packet[4] ^= 1;
    EXPECT_FALSE(SimUnitApplyPacket(unit, packet));
    EXPECT_EQ(unit.volume, 20);
    packet[4] ^= 1;
    packet[31] = 0x55; // the unit looks only at bytes 0-4
    EXPECT_TRUE(SimUnitApplyPacket(unit, packet));
    EXPECT_EQ(unit.volume, 40);
}

struct Block {
    std::uint8_t bytes[StatusBlockSize];
    explicit Block(const SimUnitState& unit) { SimUnitRenderStatus(unit, bytes); }
};

// What the program decodes from the model's block must be the model's own state.
void ExpectDecodedAsState(const SimUnitState& unit) {
    const UnitStatus s = DecodeStatusBlock(Block(unit).bytes);
    EXPECT_EQ(s.powerOn, unit.powerOn != 0);
    EXPECT_EQ(s.muted, unit.powerOn && unit.muted);
    EXPECT_EQ(s.source, unit.source);
    EXPECT_EQ(s.volume, unit.volume);
    EXPECT_EQ(s.soundMode, unit.soundMode);
    EXPECT_EQ(s.inputLevel, unit.inputLevel);
    EXPECT_EQ(s.isAm != 0, unit.band == SimBandAm);
    EXPECT_EQ(s.minutes * 60 + s.seconds, static_cast<int>(unit.elapsedMs / 1000));
    EXPECT_EQ(s.cdPlayState, unit.cdState);
    if (unit.source == SourceTuner) {
        EXPECT_EQ(s.preset, unit.preset);
        EXPECT_EQ(s.frequency, unit.frequency);
    } else {
        EXPECT_EQ(s.track, unit.track);
        EXPECT_EQ(s.trackCount, unit.trackCount);
        EXPECT_EQ(s.discPresent, unit.discPresent != 0);
    }
}

TEST(SimUnitStatus, DecodesBackToTheState) {
    const char* const states[] = {
        "",
        "mute=on",
        "power=on",
        "power=on mute=on soundmode=tone",
        "power=on soundmode=nb1",
        "power=on soundmode=nb2 volume=80",
        "power=on volume=0 source=pcusb",
        "power=on source=tuner preset=7",
        "power=on source=tuner preset=25",
        "power=on source=tuner band=am frequency=1629",
        "power=on source=tuner frequency=9000 mono=on",
        "power=on source=cd track=9 cd=play time=12:34",
        "power=on source=cd cd=pause time=0:59",
        "power=on source=cd disc=no",
        "power=on source=cd tracks=99 track=99 length=99:59 time=99:59",
        "power=on source=md inputlevel=-12",
        "power=on source=tape inputlevel=12 tracks=3",
        "power=on source=pcusb inputlevel=-1",
    };
    for (const char* state : states) {
        SCOPED_TRACE(state);
        ExpectDecodedAsState(Unit(state));
    }
}

TEST(SimUnitStatus, ByteLayout) {
    const Block off(Unit(""));
    EXPECT_EQ(off.bytes[5], 0x02);
    const Block tone(Unit("power=on mute=on soundmode=tone inputlevel=5 volume=47"));
    EXPECT_EQ(tone.bytes[5], 0x33);
    EXPECT_EQ(tone.bytes[4], 0x47);
    EXPECT_EQ(tone.bytes[6], '+');
    EXPECT_EQ(tone.bytes[7], 5);
    const Block nb1(Unit("power=on soundmode=nb1 source=tuner preset=3 frequency=8750"));
    EXPECT_EQ(nb1.bytes[5], 0x11);
    EXPECT_EQ(nb1.bytes[12], 0x87);
    EXPECT_EQ(nb1.bytes[13], 0x50);
    for (int unread : {0, 1, 2, 8, 16, 31}) {
        EXPECT_EQ(nb1.bytes[unread], 0) << unread;
    }
}

TEST(SimUnitStatus, OverridesReplaceRenderedBytes) {
    struct Case {
        const char* raw;
        int byte;
        std::uint8_t value;
    };
    const Case cases[] = {{"raw.5=0x02", 5, 0x02}, {"raw.3=0xFF", 3, 0xFF},
                          {"raw.0=7", 0, 7},       {"raw.31=0xA5", 31, 0xA5},
                          {"raw.12=1", 12, 1},     {"raw.15=0x05", 15, 0x05}};
    for (const Case& c : cases) {
        const SimUnitState unit = Unit(std::string("power=on source=tuner ") + c.raw);
        const Block plain(Unit("power=on source=tuner"));
        const Block overridden(unit);
        for (int i = 0; i < 32; ++i) {
            EXPECT_EQ(overridden.bytes[i], i == c.byte ? c.value : plain.bytes[i])
                << c.raw << " byte " << i;
        }
    }
    const UnitStatus s = DecodeStatusBlock(Block(Unit("power=on raw.5=0x02")).bytes);
    EXPECT_FALSE(s.powerOn);
    const Block cleared(Unit("power=on raw.5=0x02 raw.31=1 raw=clear"));
    EXPECT_EQ(cleared.bytes[5], Block(Unit("power=on")).bytes[5]);
    EXPECT_EQ(cleared.bytes[31], 0);
}

struct TickCase {
    const char* given; // on top of a switched-on unit
    std::uint32_t ms;
    const char* changes;
};

TEST(SimUnitTick, PlayingCdCountsTimeAndMovesOn) {
    const TickCase cases[] = {
        {"source=cd cd=play", 61000, "time=1:01"},
        {"source=cd cd=pause time=0:10", 5000, ""},
        {"source=cd time=0:10", 5000, ""},
        {"source=cd cd=play power=off", 5000, ""},
        {"source=cd length=1:00 track=3 cd=play time=0:50", 15000, "track=4 time=0:05"},
        {"source=cd length=0:10 cd=play", 35000, "track=4 time=0:05"},
        {"source=cd track=12 cd=play time=3:59", 2000, "track=1 cd=stop"},
        {"source=cd track=2 cd=play", 0xFFFFFFFFu, "track=1 cd=stop"},
        {"source=cd tracks=1 cd=play", 240000, "track=1 cd=stop"},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.given << " +" << c.ms << " ms");
        const std::string given = std::string("power=on ") + c.given;
        SimUnitState unit = Unit(given);
        SimUnitTick(unit, c.ms);
        ExpectSameState(unit, Unit(given + " " + c.changes));
    }
}

TEST(SimUnitTick, ShortTicksAddUp) {
    SimUnitState unit = Unit("power=on source=cd cd=play length=0:01");
    for (int i = 0; i < 3; ++i) {
        SimUnitTick(unit, 400);
    }
    EXPECT_EQ(unit.track, 2);
    EXPECT_EQ(unit.elapsedMs, 200u);
}

} // namespace
