// The simulated unit's driver as the program meets it: the lookup by interface, the open, the
// transfer framing, injected failures and unplugging; and the control channel the other tests
// rely on. Each test starts from a known state: units reset, the first ones present, the log
// empty, unit time standing still.
#include "support/counted_pause.h"
#include "support/sim_fixture.h"
#include "unit/command_code.h"
#include "unit/command_packet.h"
#include "unit/command_pause.h"
#include "unit/unit_device.h"
#include "unit/unit_link.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes ReadHeader = {0x42, 0x53, 0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x01, 0x00,
                          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00};
const Bytes WriteHeader = {0x42, 0x53, 0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00,
                           0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00};

constexpr std::uint32_t InstalledUnits = 12;

Bytes Kept(const SimLogEntry& entry, std::size_t from, std::size_t count) {
    return Bytes(entry.input + from, entry.input + from + count);
}

Bytes PacketOf(std::uint32_t code) {
    std::uint8_t packet[CommandPacketSize];
    EncodeCommandPacket(code, packet);
    return Bytes(packet, packet + CommandPacketSize);
}

std::vector<SimLogEntry> OfKind(const std::vector<SimLogEntry>& entries, SimLogKind kind) {
    std::vector<SimLogEntry> found;
    for (const SimLogEntry& entry : entries) {
        if (entry.kind == kind) {
            found.push_back(entry);
        }
    }
    return found;
}

double MillisecondsFor(const std::function<void()>& work) {
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// The access the handle was granted, as the object manager reports it to its owner.
bool GrantedAccess(HANDLE handle, ACCESS_MASK& granted) {
    struct BasicInformation {
        ULONG attributes;
        ACCESS_MASK grantedAccess;
        ULONG reserved[12];
    };
    using QueryObject = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    BasicInformation information = {};
    constexpr int ObjectBasicInformation = 0;
    if (query == nullptr ||
        query(handle, ObjectBasicInformation, &information, sizeof(information), nullptr) != 0) {
        return false;
    }
    granted = information.grantedAccess;
    return true;
}

// Raw calls of the transfer control code on an opened unit, past the program's own framing.
class RawTransfer {
public:
    RawTransfer() : handle_(OpenUnitDevice()) {}
    ~RawTransfer() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    RawTransfer(const RawTransfer&) = delete;
    RawTransfer& operator=(const RawTransfer&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    bool Call(DWORD code, Bytes input, DWORD outputSize, Bytes* output = nullptr) {
        Bytes out(outputSize == 0 ? 1 : outputSize, 0xCC);
        DWORD returned = 0;
        const BOOL ok = DeviceIoControl(
            handle_, code, input.empty() ? nullptr : input.data(), static_cast<DWORD>(input.size()),
            outputSize == 0 ? nullptr : out.data(), outputSize, &returned, nullptr);
        if (output != nullptr) {
            out.resize(ok ? returned : 0);
            *output = out;
        }
        return ok != FALSE;
    }

private:
    HANDLE handle_;
};

Bytes WriteBlock(std::uint32_t code, std::size_t size = 51) {
    Bytes block = WriteHeader;
    const Bytes packet = PacketOf(code);
    block.insert(block.end(), packet.begin(), packet.end());
    block.resize(size, 0);
    return block;
}

// ---------------------------------------------------------------------------------------------
// The program's lookup: the last of the first ten present interfaces.

class Lookup : public SimTest {};

TEST_F(Lookup, OpensTheLastOfTheFirstTenPresentUnits) {
    struct Case {
        std::uint32_t present;
        bool found;
        std::uint32_t opened;
    };
    const Case cases[] = {
        {0, false, 0},
        {1, true, 0},
        {3, true, 2},
        {InstalledUnits, true, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.present << " present");
        ASSERT_TRUE(sim.StartFresh(c.present));
        std::uint32_t listedCount = 0;
        ListedUnitInstances(&listedCount);
        EXPECT_EQ(listedCount, c.present);

        const HANDLE handle = OpenUnitDevice();
        EXPECT_EQ(handle != INVALID_HANDLE_VALUE, c.found);
        CloseDeviceHandle(handle);
        const std::vector<SimLogEntry> opens = OfKind(TakeLog(), SimLogOpen);
        ASSERT_EQ(opens.size(), c.found ? 1u : 0u);
        if (c.found) {
            EXPECT_EQ(opens[0].instance, c.opened);
        }
    }
}

TEST_F(Lookup, UnpluggedUnitsAreSkipped) {
    ASSERT_TRUE(sim.StartFresh(InstalledUnits));
    for (std::uint32_t i = 0; i < InstalledUnits; ++i) {
        ASSERT_TRUE(sim.SetPresent(i, i == 1 || i == 5));
    }
    CloseDeviceHandle(OpenUnitDevice());
    const std::vector<SimLogEntry> opens = OfKind(TakeLog(), SimLogOpen);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].instance, 5);
}

TEST_F(Lookup, OpensWithNoAccessRightsAndNoSharing) {
    const HANDLE handle = OpenUnitDevice();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    ACCESS_MASK granted = 0;
    const bool known = GrantedAccess(handle, granted);
    CloseHandle(handle);
    // CreateFile itself adds these two to whatever the caller asks for.
    ASSERT_TRUE(known);
    EXPECT_EQ(granted & ~ACCESS_MASK(SYNCHRONIZE | FILE_READ_ATTRIBUTES), 0u)
        << std::hex << "granted 0x" << granted;

    const std::vector<SimLogEntry> opens = OfKind(TakeLog(), SimLogOpen);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].shareAccess, 0u);
    // Wine's I/O manager does not tell the driver the access asked for.
    if (opens[0].desiredAccess != SimAccessUnknown) {
        EXPECT_EQ(opens[0].desiredAccess & ~ACCESS_MASK(SYNCHRONIZE | FILE_READ_ATTRIBUTES), 0u);
    }
}

// ---------------------------------------------------------------------------------------------
// Handles: two links at once, and nothing left open by an operation on an unopened link.

class Handles : public SimTest {};

TEST_F(Handles, TwoLinksOpenAtOnceBothWork) {
    UnitLink first;
    UnitLink second;
    ASSERT_TRUE(first.EnsureOpen());
    ASSERT_TRUE(second.EnsureOpen());
    SimInfo info = {};
    ASSERT_TRUE(sim.Info(info));
    EXPECT_EQ(info.instances[0].openHandles, 2u);
    EXPECT_TRUE(first.ReadStatus());
    EXPECT_TRUE(second.ReadStatus());
    first.Close();
    second.Close();
    const std::vector<SimLogEntry> log = TakeLog();
    EXPECT_EQ(CountKind(log, SimLogOpen), 2u);
    EXPECT_EQ(CountKind(log, SimLogRead), 2u);
    EXPECT_EQ(CountKind(log, SimLogClose), 2u);
}

TEST_F(Handles, OperationsOnAnUnopenedLinkLeaveNothingOpen) {
    const struct {
        const char* name;
        std::function<void(UnitLink&)> run;
    } operations[] = {
        {"TogglePower", [](UnitLink& l) { l.TogglePower(); }},
        {"ToggleMute", [](UnitLink& l) { l.ToggleMute(); }},
        {"SetPower 0", [](UnitLink& l) { l.SetPower(0); }},
        {"SetPower 1", [](UnitLink& l) { l.SetPower(1); }},
        {"SetPower 2", [](UnitLink& l) { l.SetPower(2); }},
        {"SetVolumeLevel 40", [](UnitLink& l) { l.SetVolumeLevel(40); }},
        {"SetVolumeLevel 81", [](UnitLink& l) { l.SetVolumeLevel(81); }},
        {"SelectInput 3", [](UnitLink& l) { l.SelectInput(3); }},
        {"SelectInput 0", [](UnitLink& l) { l.SelectInput(0); }},
    };
    for (const auto& operation : operations) {
        SCOPED_TRACE(operation.name);
        {
            UnitLink link;
            operation.run(link);
            EXPECT_FALSE(link.IsOpen());
        }
        const std::vector<SimLogEntry> log = TakeLog();
        EXPECT_EQ(CountKind(log, SimLogOpen), 1u);
        EXPECT_EQ(CountKind(log, SimLogClose), 1u);
        SimInfo info = {};
        ASSERT_TRUE(sim.Info(info));
        EXPECT_EQ(info.openHandles, 0u);
    }
}

// ---------------------------------------------------------------------------------------------
// What a transfer hands the driver, and what comes back.

class Framing : public SimTest {};

TEST_F(Framing, ReadSendsTheBareHeaderAndGetsTheBlockAfterThePrefix) {
    SimUnitState state = State();
    state.overrideMask = 0xFFFFFFFF;
    for (std::uint8_t i = 0; i < 32; ++i) {
        state.overrideBytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    SetState(state);

    std::uint8_t block[32] = {};
    {
        UnitLink link;
        ASSERT_TRUE(link.EnsureOpen());
        ASSERT_TRUE(DriverTransfer(link.handle, true, 32, block));
    }
    EXPECT_EQ(Bytes(block, block + 32), Bytes(state.overrideBytes, state.overrideBytes + 32));

    const std::vector<SimLogEntry> reads = OfKind(TakeLog(), SimLogRead);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].inputLength, 19u);
    EXPECT_EQ(Kept(reads[0], 0, 19), ReadHeader);
    EXPECT_GE(reads[0].outputLength, 40u);
}

TEST_F(Framing, WriteSendsHeaderThenPacketWithAnEightByteReplyBuffer) {
    Change([](SimUnitState& s) { s.powerOn = 1; });
    {
        UnitLink link;
        ASSERT_TRUE(link.EnsureOpen());
        ASSERT_TRUE(link.SendCommand(NumberedCommand(SetVolume, 40)));
    }
    const std::vector<SimLogEntry> writes = OfKind(TakeLog(), SimLogWrite);
    ASSERT_EQ(writes.size(), 1u);
    const SimLogEntry& write = writes[0];
    EXPECT_GE(write.inputLength, 51u);
    EXPECT_EQ(Kept(write, 0, 19), WriteHeader);
    EXPECT_EQ(Kept(write, 19, 32), PacketOf(NumberedCommand(SetVolume, 40)));
    EXPECT_EQ(write.outputLength, 8u);
    EXPECT_EQ(write.command, NumberedCommand(SetVolume, 40));
    EXPECT_EQ(write.applied, 1u);
    EXPECT_EQ(State().volume, 40);
}

TEST_F(Framing, DriverRefusesWhatTheProgramNeverSends) {
    Bytes shortRead = ReadHeader;
    shortRead.pop_back();
    Bytes longRead = ReadHeader;
    longRead.push_back(0);
    Bytes badSignature = ReadHeader;
    badSignature[1] = 'T';
    Bytes badFixed = ReadHeader;
    badFixed[17] = 31;
    Bytes badDirection = ReadHeader;
    badDirection[8] = 2;
    Bytes dirtyTail = WriteBlock(PowerOn, 64);
    dirtyTail[60] = 1;
    const struct {
        const char* name;
        DWORD code;
        Bytes input;
        DWORD outputSize;
        SimLogKind logged;
        std::uint32_t replySize; // 0 when the call fails
    } cases[] = {
        {"read", UnitTransferIoctl, ReadHeader, 40, SimLogRead, 40},
        {"read into a larger buffer", UnitTransferIoctl, ReadHeader, 64, SimLogRead, 40},
        {"read into 39 bytes", UnitTransferIoctl, ReadHeader, 39, SimLogRefused, 0},
        {"read header of 18 bytes", UnitTransferIoctl, shortRead, 40, SimLogRefused, 0},
        {"read header of 20 bytes", UnitTransferIoctl, longRead, 40, SimLogRefused, 0},
        {"wrong signature", UnitTransferIoctl, badSignature, 40, SimLogRefused, 0},
        {"wrong fixed value", UnitTransferIoctl, badFixed, 40, SimLogRefused, 0},
        {"direction 2", UnitTransferIoctl, badDirection, 40, SimLogRefused, 0},
        {"write", UnitTransferIoctl, WriteBlock(PowerOn), 8, SimLogWrite, 8},
        {"write, zero-padded block", UnitTransferIoctl, WriteBlock(PowerOn, 64), 8, SimLogWrite, 8},
        {"write of 50 bytes", UnitTransferIoctl, WriteBlock(PowerOn, 50), 8, SimLogRefused, 0},
        {"write, dirty padding", UnitTransferIoctl, dirtyTail, 8, SimLogRefused, 0},
        {"write into 7 bytes", UnitTransferIoctl, WriteBlock(PowerOn), 7, SimLogRefused, 0},
        {"another control code", 0x222014, ReadHeader, 40, SimLogRefused, 0},
    };
    RawTransfer raw;
    ASSERT_TRUE(raw.IsOpen());
    std::vector<SimLogEntry> log;
    ASSERT_TRUE(sim.ReadLog(log, true)); // the open
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes output;
        EXPECT_EQ(raw.Call(c.code, c.input, c.outputSize, &output), c.replySize != 0);
        EXPECT_EQ(output.size(), c.replySize);
        ASSERT_TRUE(sim.ReadLog(log, true));
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].kind, c.logged);
    }
}

TEST_F(Framing, PacketWithAWrongChecksumGoesThroughButTheUnitIgnoresIt) {
    Bytes block = WriteBlock(PowerOn);
    block[19 + 4] ^= 0xFF;
    RawTransfer raw;
    ASSERT_TRUE(raw.IsOpen());
    std::vector<SimLogEntry> log;
    ASSERT_TRUE(sim.ReadLog(log, true)); // the open
    EXPECT_TRUE(raw.Call(UnitTransferIoctl, block, 8));
    EXPECT_EQ(State().powerOn, 0);
    ASSERT_TRUE(sim.ReadLog(log, true));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].kind, SimLogWrite);
    EXPECT_EQ(log[0].command, static_cast<std::uint32_t>(PowerOn));
    EXPECT_EQ(log[0].applied, 0u);
}

// ---------------------------------------------------------------------------------------------
// Injected failures: the operation reports failure and sends nothing more.

class InjectedFailure : public SimTest {};

TEST_F(InjectedFailure, FailedStatusReadSendsNoCommand) {
    const struct {
        const char* name;
        std::function<void(UnitLink&)> run;
    } operations[] = {
        {"SetPower 1", [](UnitLink& l) { l.SetPower(1); }},
        {"TogglePower", [](UnitLink& l) { l.TogglePower(); }},
    };
    for (const auto& operation : operations) {
        SCOPED_TRACE(operation.name);
        ASSERT_TRUE(sim.FailNext(1));
        {
            UnitLink link;
            operation.run(link);
        }
        const std::vector<SimLogEntry> log = TakeLog();
        EXPECT_EQ(CountKind(log, SimLogFailed), 1u);
        EXPECT_EQ(CountKind(log, SimLogWrite), 0u);
        EXPECT_EQ(State().powerOn, 0);
    }
}

TEST_F(InjectedFailure, FailedCommandReportsFailureWithoutThePause) {
    UnitLink link;
    ASSERT_TRUE(link.EnsureOpen());
    ASSERT_TRUE(sim.FailNext(1));
    const std::size_t pauses = CommandPauses();
    EXPECT_FALSE(link.SendCommand(PowerOn));
    EXPECT_EQ(CommandPauses(), pauses);

    bool sent = false;
    const double acceptedMs = MillisecondsFor([&] { sent = link.SendCommand(PowerOn); });
    EXPECT_TRUE(sent);
    EXPECT_EQ(CommandPauses(), pauses + 1);
    EXPECT_GE(acceptedMs, CommandPauseMs);
    link.Close();

    const std::vector<SimLogEntry> log = TakeLog();
    EXPECT_EQ(CountKind(log, SimLogFailed), 1u);
    EXPECT_EQ(Commands(log), std::vector<std::uint32_t>{PowerOn});
}

TEST_F(InjectedFailure, CountsDownAcrossUnitsAndTransfersOnly) {
    ASSERT_TRUE(sim.StartFresh(2));
    ASSERT_TRUE(sim.FailNext(2));
    RawTransfer raw; // opens unit 1, the last present
    ASSERT_TRUE(raw.IsOpen());
    EXPECT_FALSE(raw.Call(UnitTransferIoctl, ReadHeader, 40));
    SimInfo info = {};
    ASSERT_TRUE(sim.Info(info));
    EXPECT_EQ(info.pendingFailures, 1u);
    EXPECT_FALSE(raw.Call(UnitTransferIoctl, ReadHeader, 40));
    EXPECT_TRUE(raw.Call(UnitTransferIoctl, ReadHeader, 40));
}

// A unit that refuses every transfer, or fails one in N, is still found and opened; to the link
// its reads fail as planted, and the handle is closed again.
TEST_F(InjectedFailure, RefusalAndOneInNStrikeTheirTransfers) {
    const struct {
        const char* name;
        std::function<bool(SimControl&)> plant;
        const char* reads; // one letter per status read: '+' succeeds, '-' fails
    } cases[] = {
        {"one in three", [](SimControl& s) { return s.FailEvery(3); }, "++-++-"},
        {"refused", [](SimControl& s) { return s.RefuseTransfers(true); }, "------"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sim.StartFresh(1));
        ASSERT_TRUE(c.plant(sim));
        std::string reads;
        {
            UnitLink link;
            EXPECT_TRUE(link.EnsureOpen());
            for (int i = 0; i < 6; ++i) {
                reads += link.ReadStatus() ? '+' : '-';
            }
        }
        EXPECT_EQ(reads, c.reads);
        EXPECT_TRUE(sim.WaitForOpenHandles(0));
        const std::vector<SimLogEntry> log = TakeLog();
        EXPECT_EQ(CountKind(log, SimLogOpen), 1u);
        EXPECT_EQ(CountKind(log, SimLogClose), 1u);
    }
}

// ---------------------------------------------------------------------------------------------
// Unplugging: the lookup finds nothing, and handles from before stay dead.

class Unplug : public SimTest {};

TEST_F(Unplug, UnpluggedUnitIsNotFoundAndComesBackWhenPlugged) {
    ASSERT_TRUE(sim.SetPresent(0, false));
    EXPECT_TRUE(SimControl::WaitUntilListed(0, false));
    EXPECT_EQ(OpenUnitDevice(), INVALID_HANDLE_VALUE);

    ASSERT_TRUE(sim.SetPresent(0, true));
    EXPECT_TRUE(SimControl::WaitUntilListed(0, true));
    const HANDLE handle = OpenUnitDevice();
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    CloseDeviceHandle(handle);
}

TEST_F(Unplug, HandleOpenedBeforeAnUnplugStaysDead) {
    UnitLink link;
    ASSERT_TRUE(link.EnsureOpen());
    ASSERT_TRUE(link.ReadStatus());
    ASSERT_TRUE(sim.SetPresent(0, false));
    EXPECT_FALSE(link.ReadStatus());
    EXPECT_FALSE(link.SendCommand(PowerOn));
    ASSERT_TRUE(sim.SetPresent(0, true));
    EXPECT_FALSE(link.ReadStatus());
    link.Close();

    const std::vector<SimLogEntry> log = TakeLog();
    EXPECT_EQ(CountKind(log, SimLogFailed), 3u);
    EXPECT_EQ(CountKind(log, SimLogWrite), 0u);
    EXPECT_EQ(State().powerOn, 0);
}

// ---------------------------------------------------------------------------------------------
// The control channel itself.

class Control : public SimTest {};

TEST_F(Control, EachUnitKeepsItsOwnState) {
    ASSERT_TRUE(sim.StartFresh(3));
    bool applied = false;
    ASSERT_TRUE(sim.Press(1, PowerOn, &applied));
    EXPECT_TRUE(applied);
    EXPECT_EQ(State(0).powerOn, 0);
    EXPECT_EQ(State(1).powerOn, 1);
    EXPECT_EQ(State(2).powerOn, 0);
    ASSERT_TRUE(sim.Press(1, 0xB802FFFF, &applied));
    EXPECT_FALSE(applied);
}

TEST_F(Control, UnitsThatAreNotInstalledAreRefused) {
    SimInfo info = {};
    ASSERT_TRUE(sim.Info(info));
    EXPECT_EQ(info.instanceCount, InstalledUnits);
    SimUnitState state = {};
    EXPECT_FALSE(sim.GetState(InstalledUnits, state));
    EXPECT_FALSE(sim.SetPresent(SimMaxInstances, true));
    EXPECT_FALSE(sim.Reset(SimMaxInstances + 1));
}

TEST_F(Control, ControlRequestsAreNotLogged) {
    bool applied = false;
    ASSERT_TRUE(sim.Press(0, PowerOn, &applied));
    SimUnitState state = State();
    SetState(state);
    std::vector<SimLogEntry> log;
    ASSERT_TRUE(sim.ReadLog(log, false));
    EXPECT_TRUE(log.empty());
}

TEST_F(Control, LogKeepsOrderAndCountsWhatDidNotFit) {
    RawTransfer raw;
    ASSERT_TRUE(raw.IsOpen());
    const std::uint32_t transfers = SimLogCapacity + 10;
    for (std::uint32_t i = 0; i < transfers; ++i) {
        ASSERT_TRUE(raw.Call(UnitTransferIoctl, ReadHeader, 40));
    }
    std::vector<SimLogEntry> log;
    std::uint32_t dropped = 0;
    ASSERT_TRUE(sim.ReadLog(log, true, &dropped));
    ASSERT_EQ(log.size(), SimLogCapacity);
    EXPECT_EQ(dropped, transfers + 1 - SimLogCapacity); // the open came first
    const std::uint32_t lastSequence = log.front().sequence + transfers;
    for (std::size_t i = 1; i < log.size(); ++i) {
        EXPECT_EQ(log[i].sequence, log[i - 1].sequence + 1);
        EXPECT_GE(log[i].timeMs, log[i - 1].timeMs);
    }
    ASSERT_TRUE(sim.ReadLog(log, false, &dropped));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(dropped, 0u);
    // The newest entries outlive both the full log and its clearing, in order.
    ASSERT_TRUE(sim.ReadRecentLog(log));
    ASSERT_EQ(log.size(), SimRecentCapacity);
    EXPECT_EQ(log.back().sequence, lastSequence);
    for (std::size_t i = 1; i < log.size(); ++i) {
        EXPECT_EQ(log[i].sequence, log[i - 1].sequence + 1);
    }
}

TEST_F(Control, UnitTimeRunsOnlyWhenTheClockRuns) {
    Change([](SimUnitState& s) {
        s.powerOn = 1;
        s.source = SourceCd;
        s.cdState = SimCdPlaying;
        s.elapsedMs = 0;
    });
    Sleep(100);
    EXPECT_EQ(State().elapsedMs, 0u) << "time passed while the clock stood still";

    ASSERT_TRUE(sim.AdvanceClock(5000));
    EXPECT_EQ(State().elapsedMs, 5000u);
    UnitLink link;
    ASSERT_TRUE(link.EnsureOpen());
    ASSERT_TRUE(link.ReadStatus());
    EXPECT_EQ(link.status.minutes, 0);
    EXPECT_EQ(link.status.seconds, 5);
    link.Close();

    // Unit time passes while the clock runs, and no faster than real time: at most what passed
    // from just before the clock was started to just after it was stopped.
    const double ranMs = MillisecondsFor([&] {
        ASSERT_TRUE(sim.SetClock(true));
        Sleep(200);
        ASSERT_TRUE(sim.SetClock(false));
    });
    const std::uint32_t elapsed = State().elapsedMs;
    EXPECT_GE(elapsed, 5150u);
    // The driver's clock ticks in whole milliseconds.
    EXPECT_LE(elapsed - 5000, ranMs + 16);
}

} // namespace
