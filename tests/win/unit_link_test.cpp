// The unit link against the simulated unit's driver: open on demand, the operations' decisions
// and what they send, and their silence when the unit is not there.
#include "support/counted_pause.h"
#include "support/sim_fixture.h"
#include "unit/command_code.h"
#include "unit/unit_device.h"
#include "unit/unit_link.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Codes = std::vector<std::uint32_t>;

class UnitLinkTest : public SimTest {
protected:
    void SetPowerState(bool on) {
        Change([&](SimUnitState& s) { s.powerOn = on; });
        TakeLog();
    }
};

class NoUnit : public SimTest {
protected:
    NoUnit() : SimTest(0) {}
};

// GetTickCount is too coarse for a 50 ms pause.
double MillisecondsFor(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

TEST_F(NoUnit, LookupFindsNothingAndEveryOperationIsSilent) {
    EXPECT_EQ(OpenUnitDevice(), INVALID_HANDLE_VALUE);
    struct Operation {
        const char* name;
        std::function<bool(UnitLink&)> run;
        bool expected;
    };
    const Operation operations[] = {
        {"EnsureOpen", [](UnitLink& l) { return l.EnsureOpen(); }, false},
        {"SendCommand", [](UnitLink& l) { return l.SendCommand(PowerOn); }, false},
        {"ReadStatus", [](UnitLink& l) { return l.ReadStatus(); }, false},
        {"TogglePower", [](UnitLink& l) { return l.TogglePower(); }, false},
        {"SetPower 0", [](UnitLink& l) { return l.SetPower(0); }, false},
        {"SetPower 1", [](UnitLink& l) { return l.SetPower(1); }, false},
        {"ToggleMute",
         [](UnitLink& l) {
             l.ToggleMute();
             return true;
         },
         true},
        {"SetVolumeLevel",
         [](UnitLink& l) {
             l.SetVolumeLevel(40);
             return true;
         },
         true},
        {"SelectInput",
         [](UnitLink& l) {
             l.SelectInput(3);
             return true;
         },
         true},
    };
    for (const Operation& operation : operations) {
        UnitLink link;
        const std::size_t pausesBefore = CommandPauses();
        const bool result = operation.run(link);
        // No pause after a command: nothing was accepted.
        EXPECT_EQ(CommandPauses(), pausesBefore) << operation.name;
        EXPECT_EQ(result, operation.expected) << operation.name;
        EXPECT_EQ(link.handle, INVALID_HANDLE_VALUE) << operation.name;
        EXPECT_FALSE(link.IsOpen()) << operation.name;
    }
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(UnitLinkTest, HandleStatesFromUnopenedToClosed) {
    UnitLink link;
    EXPECT_EQ(link.handle, INVALID_HANDLE_VALUE);
    link.Close();
    EXPECT_EQ(link.handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(link.EnsureOpen());
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(sim.WaitForOpenHandles(1));
    link.Close();
    EXPECT_EQ(link.handle, nullptr);
    link.Close();
    EXPECT_EQ(link.handle, nullptr);
    // A closed link is not reopened, and nothing reaches the driver through it.
    EXPECT_TRUE(link.EnsureOpen());
    EXPECT_EQ(link.handle, nullptr);
    EXPECT_FALSE(link.ReadStatus());
    EXPECT_FALSE(link.SendCommand(PowerOn));
    link.SetVolumeLevel(10);
    const std::vector<SimLogEntry> log = TakeLog();
    EXPECT_EQ(CountKind(log, SimLogOpen), 1u);
    EXPECT_EQ(CountKind(log, SimLogClose), 1u);
    EXPECT_TRUE(Commands(log).empty());
}

TEST_F(UnitLinkTest, SendCommandNeverOpensTheLink) {
    UnitLink link;
    EXPECT_FALSE(link.SendCommand(PowerOn));
    EXPECT_EQ(link.handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(UnitLinkTest, AcceptedCommandPausesFiftyMilliseconds) {
    UnitLink link;
    ASSERT_TRUE(link.EnsureOpen());
    bool sent = false;
    std::size_t pauses = CommandPauses();
    EXPECT_GE(MillisecondsFor([&] { sent = link.SendCommand(MuteToggle); }), 49.0);
    EXPECT_TRUE(sent);
    EXPECT_EQ(CommandPauses(), pauses + 1);
    ASSERT_TRUE(sim.FailNext(1));
    pauses = CommandPauses();
    EXPECT_FALSE(link.SendCommand(MuteToggle));
    EXPECT_EQ(CommandPauses(), pauses) << "a refused command pauses";
}

TEST_F(UnitLinkTest, OperationsSendWhatTheUnitNeeds) {
    struct Case {
        const char* name;
        bool unitOn;
        std::function<void(UnitLink&)> run;
        Codes expected;
        std::size_t reads;
    };
    const Case cases[] = {
        {"volume 0", true, [](UnitLink& l) { l.SetVolumeLevel(0); }, {0xB8024D00}, 0},
        {"volume 80", true, [](UnitLink& l) { l.SetVolumeLevel(80); }, {0xB8024D50}, 0},
        {"volume 81", true, [](UnitLink& l) { l.SetVolumeLevel(81); }, {}, 0},
        {"volume -1", true, [](UnitLink& l) { l.SetVolumeLevel(-1); }, {}, 0},
        {"input 0", true, [](UnitLink& l) { l.SelectInput(0); }, {}, 0},
        {"input 6", true, [](UnitLink& l) { l.SelectInput(6); }, {}, 0},
        {"input 1", true, [](UnitLink& l) { l.SelectInput(1); }, {0xB8020093}, 0},
        {"input 5", true, [](UnitLink& l) { l.SelectInput(5); }, {SelectTapeAux}, 0},
        {"mute", true, [](UnitLink& l) { l.ToggleMute(); }, {MuteToggle}, 0},
        {"toggle power on", true, [](UnitLink& l) { l.TogglePower(); }, {PowerOff}, 1},
        {"toggle power off", false, [](UnitLink& l) { l.TogglePower(); }, {PowerOn}, 1},
        {"power 1 when on", true, [](UnitLink& l) { l.SetPower(1); }, {}, 1},
        {"power 1 when off", false, [](UnitLink& l) { l.SetPower(1); }, {PowerOn}, 1},
        {"power 0 when on", true, [](UnitLink& l) { l.SetPower(0); }, {PowerOff}, 1},
        {"power 0 when off", false, [](UnitLink& l) { l.SetPower(0); }, {}, 1},
        {"power 2", true, [](UnitLink& l) { l.SetPower(2); }, {}, 1},
        {"power 2 when off", false, [](UnitLink& l) { l.SetPower(2); }, {}, 1},
    };
    for (const Case& c : cases) {
        SetPowerState(c.unitOn);
        {
            UnitLink link;
            c.run(link);
            // Opened for the operation and closed again.
            EXPECT_EQ(link.handle, nullptr) << c.name;
        }
        const std::vector<SimLogEntry> log = TakeLog();
        EXPECT_EQ(Commands(log), c.expected) << c.name << ": " << CommandList(Commands(log));
        EXPECT_EQ(CountKind(log, SimLogRead), c.reads) << c.name;
        EXPECT_EQ(CountKind(log, SimLogOpen), 1u) << c.name;
        EXPECT_EQ(CountKind(log, SimLogClose), 1u) << c.name;
    }
}

TEST_F(UnitLinkTest, LinkOpenedByTheCallerStaysOpen) {
    SetPowerState(false);
    UnitLink link;
    ASSERT_TRUE(link.EnsureOpen());
    const HANDLE open = link.handle;
    EXPECT_TRUE(link.TogglePower());
    link.SetVolumeLevel(20);
    link.SelectInput(2);
    link.ToggleMute();
    EXPECT_TRUE(link.SetPower(0));
    EXPECT_EQ(link.handle, open);
    link.Close();
    const std::vector<SimLogEntry> log = TakeLog();
    EXPECT_EQ(CountKind(log, SimLogOpen), 1u);
    EXPECT_EQ(Commands(log),
              (Codes{PowerOn, NumberedCommand(SetVolume, 20), SelectTuner, MuteToggle, PowerOff}))
        << CommandList(Commands(log));
}

// A read that fails says nothing about the unit's power: nothing may be switched on or off.
TEST_F(UnitLinkTest, PowerOperationsSendNothingWhenTheReadFails) {
    for (bool on : {false, true}) {
        SetPowerState(on);
        ASSERT_TRUE(sim.FailNext(1));
        EXPECT_TRUE(UnitLink().TogglePower());
        ASSERT_TRUE(sim.FailNext(1));
        EXPECT_TRUE(UnitLink().SetPower(on ? 0 : 1));
        const std::vector<SimLogEntry> log = TakeLog();
        EXPECT_TRUE(Commands(log).empty()) << CommandList(Commands(log));
        EXPECT_EQ(CountKind(log, SimLogFailed), 2u);
        EXPECT_EQ(State().powerOn, on);
    }
}

TEST_F(UnitLinkTest, FailedReadLeavesTheFieldsAsTheyWere) {
    Change([](SimUnitState& s) {
        s.powerOn = 1;
        s.volume = 33;
        s.source = 2;
    });
    UnitLink link;
    EXPECT_EQ(link.status.volume, 0); // defined before any read
    ASSERT_TRUE(link.EnsureOpen());
    ASSERT_TRUE(link.ReadStatus());
    EXPECT_EQ(link.status.volume, 33);
    Change([](SimUnitState& s) {
        s.volume = 10;
        s.source = 0;
    });
    ASSERT_TRUE(sim.FailNext(1));
    EXPECT_FALSE(link.ReadStatus());
    EXPECT_EQ(link.status.volume, 33);
    EXPECT_EQ(link.status.source, 2);
    EXPECT_TRUE(link.ReadStatus());
    EXPECT_EQ(link.status.volume, 10);
}

} // namespace
