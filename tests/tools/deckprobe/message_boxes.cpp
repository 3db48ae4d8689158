#include "tests/tools/deckprobe/message_boxes.h"

#include "tests/tools/deckprobe/utf8_output.h"
#include "tests/tools/program_boxes/program_boxes.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr DWORD CloseWaitMs = 10000;
constexpr unsigned DefaultTimeoutMs = 10000;

bool PrintAndClose(HWND box) {
    if (!PrintWideLine(ProgramBoxText(box).c_str())) {
        std::fprintf(stderr, "deckprobe: the box's text cannot be written as UTF-8\n");
    }
    if (!PressProgramBoxOk(box, CloseWaitMs)) {
        std::fprintf(stderr, "deckprobe: the box did not close after OK\n");
        return false;
    }
    return true;
}

} // namespace

ProbeExit RunWaitBox(ProbeArgs args) {
    unsigned timeoutMs = DefaultTimeoutMs;
    unsigned count = 1;
    if (!TakeMillisecondsOption(args, "--timeout", timeoutMs) ||
        !TakeCountOption(args, "--count", count) || args.count != 0 || count == 0) {
        return UsageError("wait-box takes only --timeout MS and --count N");
    }
    for (unsigned closed = 0; closed < count; ++closed) {
        HWND box = WaitForProgramBox(0, timeoutMs);
        if (box == nullptr) {
            std::fprintf(stderr, "deckprobe: no message box within %u ms (%u of %u closed)\n",
                         timeoutMs, closed, count);
            return ProbeNotFound;
        }
        if (!PrintAndClose(box)) {
            return ProbeNotFound;
        }
    }
    return ProbeOk;
}

ProbeExit RunNoBox(ProbeArgs args) {
    unsigned forMs = 0;
    if (!TakeMillisecondsOption(args, "--for", forMs) || args.count != 0 || forMs == 0) {
        return UsageError("no-box takes --for MS");
    }
    HWND box = WaitForProgramBox(0, forMs);
    if (box == nullptr) {
        return ProbeOk;
    }
    std::fprintf(stderr, "deckprobe: a message box appeared:\n");
    PrintAndClose(box);
    return ProbeNotFound;
}
