// The simulated unit's FIELD=VALUE assignments (unitsim set) and the description of the state
// they leave (unitsim status), from the factory state or from any state the driver's control
// channel could have been given.
//
// Input: a flags byte (bit 0: the starting state is the next sizeof(SimUnitState) bytes as they
// stand, otherwise the factory state), the error buffer's size and a description buffer's size
// (one byte each), then the assignments, each ended by a NUL byte or a line break.
#include "fuzz_support.h"
#include "sim/state_text.h"
#include "sim/unit_model.h"

#include <memory>
#include <string>
#include <vector>

namespace {

SimUnitState TakeStartingState(ByteReader& input, std::uint8_t flags) {
    SimUnitState state;
    std::memset(&state, 0, sizeof(state));
    if (flags & 1) {
        input.Take(&state, sizeof(state));
    } else {
        SimUnitReset(state);
    }
    return state;
}

std::vector<std::unique_ptr<char[]>> TakeAssignments(ByteReader& input) {
    std::vector<std::unique_ptr<char[]>> assignments;
    std::size_t left = input.Left();
    const std::uint8_t* text = input.Span(left);
    std::size_t start = 0;
    for (std::size_t end = 0; end <= left; ++end) {
        if (end == left || text[end] == '\0' || text[end] == '\n') {
            // Each in a heap block of its own size, so that reading past its end is caught.
            auto assignment = std::make_unique<char[]>(end - start + 1);
            std::memcpy(assignment.get(), text + start, end - start);
            assignments.push_back(std::move(assignment));
            start = end + 1;
        }
    }
    return assignments;
}

void CheckDescription(const SimUnitState& state, std::size_t cutSize) {
    const std::size_t length = DescribeSimUnitState(state, nullptr, 0);
    auto whole = std::make_unique<char[]>(length + 1);
    FUZZ_CHECK(DescribeSimUnitState(state, whole.get(), length + 1) == length);
    FUZZ_CHECK(std::strlen(whole.get()) == length);
    if (cutSize == 0 || cutSize > length) {
        return;
    }
    // Cut to fit, and still terminated: the beginning of the whole text.
    auto cut = std::make_unique<char[]>(cutSize);
    FUZZ_CHECK(DescribeSimUnitState(state, cut.get(), cutSize) == length);
    FUZZ_CHECK(std::strlen(cut.get()) == cutSize - 1);
    FUZZ_CHECK(std::memcmp(cut.get(), whole.get(), cutSize - 1) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t flags = input.Take<std::uint8_t>();
    const std::size_t errorSize = input.Take<std::uint8_t>();
    const std::size_t cutSize = input.Take<std::uint8_t>();
    SimUnitState state = TakeStartingState(input, flags);
    const std::vector<std::unique_ptr<char[]>> assignments = TakeAssignments(input);
    std::vector<const char*> pointers;
    for (const auto& assignment : assignments) {
        pointers.push_back(assignment.get());
    }

    SimUnitState before;
    std::memcpy(&before, &state, sizeof(state));
    auto error = std::make_unique<char[]>(errorSize);
    const bool applied =
        ApplySimFieldAssignments(state, pointers.data(), pointers.size(), error.get(), errorSize);
    if (errorSize > 0) {
        FUZZ_CHECK(IsTerminated(error.get(), errorSize));
    }
    if (!applied) {
        // All or nothing.
        FUZZ_CHECK(std::memcmp(&state, &before, sizeof(state)) == 0);
        FUZZ_CHECK(errorSize <= 1 || error[0] != '\0');
    }
    CheckDescription(state, cutSize);
    return 0;
}
