// NorvikDeckhand.exe started with options, against the simulated unit: what reaches the unit,
// in which order and with which pauses, and what the user sees.
#include "support/program_runner.h"
#include "support/sim_fixture.h"
#include "tests/tools/program_boxes/program_boxes.h"
#include "unit/command_code.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Codes = std::vector<std::uint32_t>;

class CommandLine : public SimTest {
protected:
    void SwitchUnitOn() {
        Change([](SimUnitState& s) { s.powerOn = 1; });
    }
    // Runs the program with arguments, expects exit code 0, and gives the commands it sent.
    Codes Run(const std::string& arguments) {
        EXPECT_EQ(RunProgram(arguments), 0u) << arguments;
        return Commands(TakeLog());
    }
};

TEST_F(CommandLine, EachOptionSendsItsCommandsInOrder) {
    struct Case {
        const char* arguments;
        bool unitOn;
        Codes expected;
    };
    const Case cases[] = {
        {"-v40", true, {NumberedCommand(SetVolume, 40)}},
        {"-v0", true, {NumberedCommand(SetVolume, 0)}},
        {"-v80", true, {NumberedCommand(SetVolume, 80)}},
        {"-v81 -v-1 -v99999999999", true, {}},
        {"-v10 -v20", true, {NumberedCommand(SetVolume, 10), NumberedCommand(SetVolume, 20)}},
        {"-v 40", true, {NumberedCommand(SetVolume, 0)}}, // the number is an argument of its own
        {"\"-v 40\"", true, {NumberedCommand(SetVolume, 40)}},
        // In CP932 the second byte of 表 is 0x5C, a backslash, yet the quote after it closes.
        {"\"-v40表\" -v20",
         true,
         {NumberedCommand(SetVolume, 40), NumberedCommand(SetVolume, 20)}},
        {"-i1 -i2 -i3 -i4 -i5",
         true,
         {SelectPcUsb, SelectTuner, SelectCd, SelectMd, SelectTapeAux}},
        {"-i0 -i6 -i -I3 -V20", true, {}},
        {"-i4294967299", true, {}},
        {"hello world /p --p", false, {}},
        {"-q -t", false, {}},
        {"-v40 -i3", false, {NumberedCommand(SetVolume, 40), SelectCd}},
    };
    for (const Case& c : cases) {
        Change([&](SimUnitState& s) { s.powerOn = c.unitOn; });
        TakeLog();
        const Codes sent = Run(c.arguments);
        EXPECT_EQ(sent, c.expected) << c.arguments << ": sent " << CommandList(sent);
    }
}

TEST_F(CommandLine, PowerOptionsActOnlyWhenNeededAndAlwaysWait) {
    struct Case {
        const char* arguments;
        bool unitOn;
        Codes expected;
        DWORD minimumMs;
    };
    const Case cases[] = {
        {"-p", false, {PowerOn}, 2000},     {"-p", true, {}, 2000},
        {"-P", true, {PowerOff}, 2000},     {"-P", false, {}, 2000},
        {"-power", false, {PowerOn}, 2000}, {"-P0", true, {PowerOff}, 2000},
    };
    for (const Case& c : cases) {
        Change([&](SimUnitState& s) { s.powerOn = c.unitOn; });
        TakeLog();
        DWORD elapsed = 0;
        EXPECT_EQ(RunProgram(c.arguments, 20000, &elapsed), 0u);
        const std::vector<SimLogEntry> log = TakeLog();
        EXPECT_EQ(Commands(log), c.expected) << c.arguments << " unit on " << c.unitOn;
        EXPECT_EQ(CountKind(log, SimLogRead), 1u) << c.arguments;
        EXPECT_GE(elapsed, c.minimumMs) << c.arguments;
    }
}

TEST_F(CommandLine, OnThenOffWaitsTwoSecondsAfterEach) {
    Change([](SimUnitState& s) { s.powerOn = 0; });
    TakeLog();
    DWORD elapsed = 0;
    EXPECT_EQ(RunProgram("-p -P", 20000, &elapsed), 0u);
    const std::vector<SimLogEntry> log = TakeLog();
    ASSERT_EQ(Commands(log), (Codes{PowerOn, PowerOff}));
    std::uint32_t onTime = 0, offTime = 0, closeTime = 0;
    for (const SimLogEntry& entry : log) {
        if (entry.kind == SimLogWrite) {
            (entry.command == PowerOn ? onTime : offTime) = entry.timeMs;
        }
        if (entry.kind == SimLogClose) {
            closeTime = entry.timeMs;
        }
    }
    // The driver's clock is in milliseconds; allow for timer granularity.
    EXPECT_GE(offTime - onTime, 1980u);
    EXPECT_GE(closeTime - offTime, 1980u);
    EXPECT_GE(elapsed, 4000u);
    EXPECT_EQ(State().powerOn, 0);
}

TEST_F(CommandLine, OneLinkForTheWholePass) {
    SwitchUnitOn();
    TakeLog();
    EXPECT_EQ(RunProgram("-v40 -i3 -v41"), 0u);
    const std::vector<SimLogEntry> log = TakeLog();
    EXPECT_EQ(CountKind(log, SimLogOpen), 1u);
    EXPECT_EQ(CountKind(log, SimLogClose), 1u);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().kind, SimLogOpen);
    EXPECT_EQ(log.back().kind, SimLogClose);
}

TEST_F(CommandLine, ExampleFromTheReadmeWorks) {
    Change([](SimUnitState& s) {
        s.powerOn = 1;
        s.source = 0;
        s.volume = 10;
    });
    TakeLog();
    EXPECT_EQ(Run("-v40 -i3 -p"), (Codes{NumberedCommand(SetVolume, 40), SelectCd}));
    const SimUnitState state = State();
    EXPECT_EQ(state.volume, 40);
    EXPECT_EQ(state.source, 1);
    EXPECT_EQ(state.powerOn, 1);
}

TEST_F(CommandLine, WithoutTheUnitEveryOptionIsSilent) {
    ASSERT_TRUE(sim.StartFresh(0));
    DWORD elapsed = 0;
    EXPECT_EQ(RunProgram("-v40 -i3 -P -p", 20000, &elapsed), 0u);
    EXPECT_TRUE(TakeLog().empty());
    EXPECT_GE(elapsed, 4000u); // the power options still wait
    HWND box = WaitForProgramBox(0, 300);
    EXPECT_EQ(box, nullptr) << ProgramBoxText(box);
}

// -i goes out only through the link the pass opened at its start. When that open failed, a
// power or volume option opens a link of its own and closes it again, and from then on the
// pass's link stays closed. The unit is plugged in while the box of -S holds the pass, after
// the open at its start and the attempt of -p.
TEST_F(CommandLine, LinkOpenedByAnOptionIsClosedForTheRest) {
    SwitchUnitOn();
    ASSERT_TRUE(sim.SetPresent(0, false));
    ASSERT_TRUE(SimControl::WaitUntilListed(0, false));
    TakeLog();
    RunningProgram program("-p -S -v40 -i3 -v50");
    ASSERT_TRUE(program.Started());
    HWND box = WaitForProgramBox(program.ProcessId(), 30000);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(sim.SetPresent(0, true));
    ASSERT_TRUE(SimControl::WaitUntilListed(0, true));
    EXPECT_TRUE(PressProgramBoxOk(box, 5000));
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(30000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    const Codes sent = Commands(TakeLog());
    EXPECT_EQ(sent, (Codes{NumberedCommand(SetVolume, 40)})) << CommandList(sent);
}

TEST_F(CommandLine, StopWithoutResidentCopyWarnsOncePerOption) {
    RunningProgram program("-S -v30 -S");
    ASSERT_TRUE(program.Started());
    for (int shown = 0; shown < 2; ++shown) {
        HWND box = WaitForProgramBox(program.ProcessId(), 30000);
        ASSERT_NE(box, nullptr) << "box " << shown;
        EXPECT_EQ(ProgramBoxText(box), L"起動していません");
        // The next box is a new window once this one is gone.
        PressProgramBoxOk(box, 5000);
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(30000, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(WaitForProgramBox(program.ProcessId(), 200), nullptr);
    EXPECT_EQ(Commands(TakeLog()), (Codes{NumberedCommand(SetVolume, 30)}));
}

} // namespace
