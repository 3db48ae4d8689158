#pragma once

// The user-mode end of the simulated unit's control channel: one call per operation, each
// returning true when the driver carried it out. For unitsim and the Windows-side tests; the
// program never uses it.
//
//     SimControl sim;
//     if (!sim.Connect()) ...            // the driver is not loaded
//     sim.StartFresh(3);                 // units 0-2 present, the rest unplugged, log empty
//     sim.Press(0, PowerOn);
//     std::vector<SimLogEntry> log;
//     sim.ReadLog(log, /*clear*/ true);

#include "sim/control_protocol.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class SimControl {
public:
    SimControl() = default;
    ~SimControl();
    SimControl(const SimControl&) = delete;
    SimControl& operator=(const SimControl&) = delete;

    // Opens the control device; false when the driver is not there.
    bool Connect();
    void Disconnect();
    bool IsConnected() const { return device_ != INVALID_HANDLE_VALUE; }

    bool Info(SimInfo& info);
    bool GetState(std::uint32_t instance, SimUnitState& state);
    bool SetState(std::uint32_t instance, const SimUnitState& state);
    // As if the code's key were pressed on the unit; applied tells whether the unit knew it.
    bool Press(std::uint32_t instance, std::uint32_t code, bool* applied = nullptr);
    bool SetPresent(std::uint32_t instance, bool present);
    // The next count transfers, on any unit, fail; 0 cancels what is left.
    bool FailNext(std::uint32_t count);
    // From the next transfer on, one in every transfers, on any unit, fails; 0 ends it.
    bool FailEvery(std::uint32_t every);
    // Every transfer on any unit is refused, as a busy or broken unit refuses them; opens still
    // succeed.
    bool RefuseTransfers(bool refuse);
    // The log from its oldest entry; with clear, what was read leaves the driver's log.
    bool ReadLog(std::vector<SimLogEntry>& entries, bool clear, std::uint32_t* dropped = nullptr);
    // The newest entries (up to SimRecentCapacity), oldest first, kept whether or not the log
    // was cleared or full; reading them clears nothing, so a watcher leaves the log to others.
    bool ReadRecentLog(std::vector<SimLogEntry>& entries);
    bool SetClock(bool running);
    bool AdvanceClock(std::uint32_t ms);
    // Every status read, on any unit, is answered with only the first bytes of the block (0 to
    // 32; 32 answers whole blocks again).
    bool SetReadAnswer(std::uint32_t statusBytes);
    // Factory state and plugged in; the log and pending failures stay.
    bool Reset(std::uint32_t instance);

    // A known starting point: every installed unit reset, the first presentCount of them
    // present and the others unplugged, no planted faults, whole status reads, unit time
    // standing still and the log empty.
    bool StartFresh(std::uint32_t presentCount);

    // Polls until the driver reports expected open handles over all units (or on one
    // instance); closes reach the driver a moment after CloseHandle returns under Wine.
    bool WaitForOpenHandles(std::uint32_t expected, DWORD timeoutMs = 10000);
    bool WaitForOpenHandles(std::uint32_t instance, std::uint32_t expected, DWORD timeoutMs);

    // Polls the device-installation functions, as the program looks the unit up, until the
    // instance's interface is listed as present (or absent).
    static bool WaitUntilListed(std::uint32_t instance, bool listed, DWORD timeoutMs = 10000);

    // The Win32 error of the last call that failed.
    DWORD LastError() const { return lastError_; }

private:
    bool Call(SimOp op, std::uint32_t instance, std::uint32_t arg, void* reply = nullptr,
              DWORD replySize = 0, DWORD* returned = nullptr);
    bool Send(const SimRequest& request, void* reply, DWORD replySize, DWORD* returned);
    bool ReadEntries(SimOp op, std::uint32_t arg, std::uint32_t capacity,
                     std::vector<SimLogEntry>& entries, std::uint32_t* dropped);
    static constexpr std::uint32_t AllInstances = 0xFFFFFFFF;
    bool WaitForHandleCount(std::uint32_t instance, std::uint32_t expected, DWORD timeoutMs);

    HANDLE device_ = INVALID_HANDLE_VALUE;
    DWORD lastError_ = ERROR_SUCCESS;
};

// Bit i set when instance i's interface is listed with DIGCF_PRESENT, as the program's lookup
// sees it; count is the number of interfaces listed (the program looks at the first ten).
std::uint32_t ListedUnitInstances(std::uint32_t* count = nullptr);
