#pragma once

#include "sim/control_client.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// A test that talks to the simulated units: starts with the first presentCount units present,
// time standing still and the log empty.
class SimTest : public ::testing::Test {
protected:
    explicit SimTest(std::uint32_t presentCount = 1) : presentCount_(presentCount) {}

    void SetUp() override;
    void TearDown() override;

    SimUnitState State(std::uint32_t instance = 0);
    void SetState(const SimUnitState& state, std::uint32_t instance = 0);
    // Changes the state with f and writes it back.
    template <typename F> void Change(F f, std::uint32_t instance = 0) {
        SimUnitState state = State(instance);
        f(state);
        SetState(state, instance);
    }

    // The driver's log since the last call (or since SetUp), once every handle is closed again.
    std::vector<SimLogEntry> TakeLog();
    // The command codes of the accepted writes in entries, in order.
    static std::vector<std::uint32_t> Commands(const std::vector<SimLogEntry>& entries);
    static std::size_t CountKind(const std::vector<SimLogEntry>& entries, SimLogKind kind);

    SimControl sim;

private:
    std::uint32_t presentCount_;
};

// Formats commands for failure messages, e.g. {PowerOn, SetVolume+40}.
std::string CommandList(const std::vector<std::uint32_t>& codes);
