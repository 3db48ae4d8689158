#include "sim/state_text.h"
#include "sim/unit_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

SimUnitState Factory() {
    SimUnitState unit;
    SimUnitReset(unit);
    return unit;
}

std::string Describe(const SimUnitState& unit) {
    char text[1024];
    DescribeSimUnitState(unit, text, sizeof text);
    return text;
}

bool Apply(SimUnitState& unit, const char* assignment, std::string* error = nullptr) {
    char text[512];
    const bool ok = ApplySimFieldAssignment(unit, assignment, text, sizeof text);
    if (error != nullptr) {
        *error = text;
    }
    return ok;
}

TEST(SimStateText, FactoryDescription) {
    EXPECT_EQ(Describe(Factory()), "power: off\n"
                                   "mute: off\n"
                                   "volume: 20\n"
                                   "source: tuner\n"
                                   "soundmode: none\n"
                                   "band: fm\n"
                                   "mono: off\n"
                                   "preset: 1\n"
                                   "frequency: 76.00 MHz\n"
                                   "disc: yes\n"
                                   "tracks: 12\n"
                                   "track: 1\n"
                                   "cd: stop\n"
                                   "time: 00:00\n"
                                   "length: 04:00\n"
                                   "mddisc: yes\n"
                                   "md: stop\n"
                                   "mdtrack: 1\n"
                                   "tape: stop\n"
                                   "inputlevel: 0\n");
}

TEST(SimStateText, DescriptionIsCutToFitAndReportsItsLength) {
    const std::string full = Describe(Factory());
    char small[10];
    EXPECT_EQ(DescribeSimUnitState(Factory(), small, sizeof small), full.size());
    EXPECT_EQ(std::string(small), full.substr(0, sizeof small - 1));
    EXPECT_EQ(DescribeSimUnitState(Factory(), nullptr, 0), full.size());
}

TEST(SimStateText, ValuesOutsideTheWordsAreShownAsNumbers) {
    SimUnitState unit = Factory();
    unit.source = 9;
    unit.cdState = 7;
    const std::string text = Describe(unit);
    EXPECT_NE(text.find("source: unknown (9)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("cd: unknown (7)\n"), std::string::npos) << text;
}

struct GoodCase {
    const char* assignments; // applied in order to a factory unit
    const char* lines;       // each must appear in the description
};

TEST(SimStateText, AcceptedAssignments) {
    const GoodCase cases[] = {
        {"power=on mute=on", "power: on\nmute: on\n"},
        {"volume=0", "volume: 0\n"},
        {"volume=80", "volume: 80\n"},
        {"source=pcusb", "source: pcusb\n"},
        {"source=tape", "source: tape\n"},
        {"soundmode=nb2", "soundmode: nb2\n"},
        {"mono=on", "mono: on\n"},
        {"frequency=8750", "frequency: 87.50 MHz\n"},
        {"frequency=7605", "frequency: 76.05 MHz\n"},
        {"band=am", "band: am\nmono: off\npreset: 1\nfrequency: 531 kHz\n"},
        {"band=am frequency=1449", "frequency: 1449 kHz\n"},
        {"preset=25", "band: am\nmono: off\npreset: 25\nfrequency: 747 kHz\n"},
        // frequency= rewrites the preset's memory, so tuning it again finds the new value.
        {"preset=3 frequency=8750 preset=4 preset=3", "frequency: 87.50 MHz\n"},
        {"disc=no", "disc: no\ntracks: 0\ntrack: 0\ncd: stop\n"},
        {"disc=no disc=yes", "disc: yes\ntracks: 12\ntrack: 1\n"},
        {"track=8 tracks=5", "tracks: 5\ntrack: 5\n"},
        {"disc=no tracks=3", "disc: yes\ntracks: 3\ntrack: 1\n"},
        {"track=12 cd=pause time=2:15", "track: 12\ncd: pause\ntime: 02:15\n"},
        {"time=99:59 length=0:01", "time: 99:59\nlength: 00:01\n"},
        {"cd=play time=1:00 cd=stop", "cd: stop\ntime: 00:00\n"},
        {"mddisc=no", "mddisc: no\nmd: stop\nmdtrack: 0\n"},
        {"md=play mdtrack=99", "md: play\nmdtrack: 99\n"},
        {"tape=ff", "tape: ff\n"},
        {"tape=rewind", "tape: rewind\n"},
        {"inputlevel=-12", "inputlevel: -12\n"},
        {"inputlevel=+12", "inputlevel: 12\n"},
        {"raw.15=0x05 raw.0=255 raw.31=0", "raw.0: 0xFF\nraw.15: 0x05\nraw.31: 0x00\n"},
        {"raw.15=0x05 raw.15=off", "inputlevel: 0\n"},
    };
    for (const GoodCase& c : cases) {
        SimUnitState unit = Factory();
        std::string list = c.assignments;
        for (std::size_t start = 0; start < list.size();) {
            std::size_t end = list.find(' ', start);
            end = end == std::string::npos ? list.size() : end;
            std::string error;
            EXPECT_TRUE(Apply(unit, list.substr(start, end - start).c_str(), &error)) << error;
            start = end + 1;
        }
        const std::string text = Describe(unit);
        EXPECT_NE(text.find(c.lines), std::string::npos) << c.assignments << "\n" << text;
    }
    SimUnitState cleared = Factory();
    Apply(cleared, "raw.3=1");
    Apply(cleared, "raw=clear");
    EXPECT_EQ(cleared.overrideMask, 0u);
    EXPECT_EQ(Describe(cleared), Describe(Factory()));
}

struct BadCase {
    const char* given; // applied to a factory unit first
    const char* assignment;
    const char* message; // part of the error
};

TEST(SimStateText, RejectedAssignmentsExplainAndChangeNothing) {
    const BadCase cases[] = {
        {"", "volume=81", "volume=81: expected 0..80"},
        {"", "volume=-1", "0..80"},
        {"", "volume=", "0..80"},
        {"", "volume=4x", "0..80"},
        {"", "volume=999999999999", "0..80"},
        {"", "power=yes", "on, off"},
        {"", "source=usb", "pcusb, tuner, cd, md, tape"},
        {"", "source=CD", "pcusb, tuner, cd, md, tape"},
        {"", "soundmode=nb3", "none, nb1, nb2, tone"},
        {"", "band=sw", "fm, am"},
        {"", "preset=0", "1..40"},
        {"", "preset=41", "1..40"},
        {"", "frequency=9010", "7600..9000 on FM"},
        {"", "frequency=1449", "7600..9000 on FM"},
        {"band=am", "frequency=1630", "531..1629 on AM"},
        {"band=am", "frequency=8750", "531..1629 on AM"},
        {"", "disc=maybe", "yes, no"},
        {"", "tracks=0", "1..99"},
        {"", "tracks=100", "1..99"},
        {"", "track=13", "expected 1..12"},
        {"", "track=0", "expected 1..12"},
        {"disc=no", "track=1", "no disc"},
        {"disc=no", "cd=play", "no disc"},
        {"", "cd=eject", "stop, play, pause"},
        {"", "time=2:60", "M:SS"},
        {"", "time=215", "M:SS"},
        {"", "time=2:5", "M:SS"},
        {"", "time=100:00", "M:SS"},
        {"", "time=99999999999:00", "M:SS"},
        {"", "length=4294967296:00", "0:01..99:59"},
        {"", "length=0:00", "0:01..99:59"},
        {"mddisc=no", "md=play", "no MD"},
        {"mddisc=no", "mdtrack=2", "no MD"},
        {"", "mdtrack=100", "1..99"},
        {"", "tape=play", "stop, forward, reverse, ff, rewind"},
        {"", "inputlevel=13", "-12..12"},
        {"", "inputlevel=-13", "-12..12"},
        {"", "raw.32=1", "raw.0 to raw.31"},
        {"", "raw.x=1", "raw.0 to raw.31"},
        {"", "raw.=1", "unknown field"},
        {"", "raw.5=256", "0..255"},
        {"", "raw.5=-1", "0..255"},
        // Eight hex digits overflow a 32-bit long, which is what Windows has.
        {"", "raw.5=0xFFFFFFFF", "0..255"},
        {"", "raw.5=-0xFFFFFFFF", "0..255"},
        {"", "raw=all", "clear"},
        {"", "bogus=1", "bogus: unknown field; fields are power, mute, volume"},
        {"", "Volume=40", "unknown field"},
        {"", "volume", "expected FIELD=VALUE"},
        {"", "=40", "expected FIELD=VALUE"},
    };
    for (const BadCase& c : cases) {
        SimUnitState unit = Factory();
        if (*c.given) {
            ASSERT_TRUE(Apply(unit, c.given)) << c.given;
        }
        SimUnitState before;
        std::memcpy(&before, &unit, sizeof unit);
        std::string error;
        EXPECT_FALSE(Apply(unit, c.assignment, &error)) << c.assignment;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.assignment << ": " << error;
        EXPECT_EQ(std::memcmp(&before, &unit, sizeof unit), 0) << c.assignment;
    }
}

TEST(SimStateText, ErrorsFitSmallBuffers) {
    SimUnitState unit = Factory();
    char error[8];
    EXPECT_FALSE(ApplySimFieldAssignment(unit, "bogus=1", error, sizeof error));
    EXPECT_EQ(std::strlen(error), sizeof error - 1);
    EXPECT_FALSE(ApplySimFieldAssignment(unit, "volume=81", nullptr, 0));
}

TEST(SimStateText, AssignmentListIsAllOrNothing) {
    SimUnitState unit = Factory();
    const SimUnitState factory = Factory();
    const char* const bad[] = {"volume=40", "band=am", "bogus=1"};
    char error[256];
    EXPECT_FALSE(ApplySimFieldAssignments(unit, bad, 3, error, sizeof error));
    EXPECT_NE(std::string(error).find("bogus"), std::string::npos) << error;
    EXPECT_EQ(Describe(unit), Describe(factory));

    // Later assignments see the earlier ones: the frequency is checked against the new band.
    const char* const good[] = {"volume=40", "band=am", "frequency=1449"};
    EXPECT_TRUE(ApplySimFieldAssignments(unit, good, 3, error, sizeof error)) << error;
    EXPECT_EQ(unit.volume, 40);
    EXPECT_EQ(unit.frequency, 1449);
}

TEST(SimStateText, FieldListCoversTheDescriptionAndTheParser) {
    std::set<std::string> listed;
    for (std::size_t i = 0; i < SimFieldCount(); ++i) {
        listed.insert(SimField(i).name);
        EXPECT_STRNE(SimField(i).values, "");
    }
    const std::string text = Describe(Factory());
    for (std::size_t start = 0; start < text.size(); start = text.find('\n', start) + 1) {
        const std::string name = text.substr(start, text.find(':', start) - start);
        EXPECT_EQ(listed.count(name), 1u) << name;
    }
    EXPECT_EQ(listed.count("raw.N"), 1u);
    EXPECT_EQ(listed.count("raw"), 1u);
}

} // namespace
