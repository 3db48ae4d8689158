#include "tests/tools/input_events/input_events.h"

#include <cstdio>

namespace {

constexpr int Attempts = 20;
constexpr DWORD RetryMs = 50;

} // namespace

bool SendOneInput(const INPUT& input) {
    INPUT event = input;
    for (int attempt = 1; attempt <= Attempts; ++attempt) {
        SetLastError(ERROR_SUCCESS);
        if (SendInput(1, &event, sizeof(event)) == 1) {
            return true;
        }
        std::fprintf(stderr, "SendInput refused an event (error %lu)%s\n", GetLastError(),
                     attempt < Attempts ? ", trying again" : "");
        Sleep(RetryMs);
    }
    return false;
}
