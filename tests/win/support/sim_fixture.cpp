#include "support/sim_fixture.h"

#include "unit/command_names.h"

#include <string>

void SimTest::SetUp() {
    ASSERT_TRUE(sim.Connect()) << "the simulated unit's driver is not loaded";
    ASSERT_TRUE(sim.StartFresh(presentCount_));
}

void SimTest::TearDown() {
    sim.FailNext(0);
}

SimUnitState SimTest::State(std::uint32_t instance) {
    SimUnitState state = {};
    EXPECT_TRUE(sim.GetState(instance, state));
    return state;
}

void SimTest::SetState(const SimUnitState& state, std::uint32_t instance) {
    EXPECT_TRUE(sim.SetState(instance, state));
}

std::vector<SimLogEntry> SimTest::TakeLog() {
    EXPECT_TRUE(sim.WaitForOpenHandles(0)) << "a handle to the unit stayed open";
    std::vector<SimLogEntry> entries;
    EXPECT_TRUE(sim.ReadLog(entries, true));
    return entries;
}

std::vector<std::uint32_t> SimTest::Commands(const std::vector<SimLogEntry>& entries) {
    std::vector<std::uint32_t> codes;
    for (const SimLogEntry& entry : entries) {
        if (entry.kind == SimLogWrite) {
            codes.push_back(entry.command);
        }
    }
    return codes;
}

std::size_t SimTest::CountKind(const std::vector<SimLogEntry>& entries, SimLogKind kind) {
    std::size_t count = 0;
    for (const SimLogEntry& entry : entries) {
        count += entry.kind == kind ? 1 : 0;
    }
    return count;
}

std::string CommandList(const std::vector<std::uint32_t>& codes) {
    std::string text = "{";
    for (std::uint32_t code : codes) {
        if (text.size() > 1) {
            text += ", ";
        }
        const CommandName* name = FindCommandByCode(code);
        if (name == nullptr) {
            text += std::to_string(code);
        } else {
            text += name->name;
            if (name->numbered) {
                text += "+" + std::to_string(code - name->code);
            }
        }
    }
    return text + "}";
}
