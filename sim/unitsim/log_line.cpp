#include "sim/unitsim/log_line.h"

#include "sim/command_code_text.h"

#include <cstdio>

namespace {

const char* KindName(std::uint16_t kind) {
    switch (kind) {
    case SimLogOpen: return "open";
    case SimLogClose: return "close";
    case SimLogWrite: return "write";
    case SimLogRead: return "read";
    case SimLogRefused: return "refused";
    case SimLogFailed: return "failed";
    default: return "unknown";
    }
}

void FormatAccess(std::uint32_t access, char* out, std::size_t size) {
    if (access == SimAccessUnknown) {
        std::snprintf(out, size, "unknown");
    } else {
        std::snprintf(out, size, "0x%08X", static_cast<unsigned>(access));
    }
}

} // namespace

void FormatLogLine(const SimLogEntry& entry, char* out, std::size_t size) {
    const int head = std::snprintf(
        out, size, "%6u %9ums  unit %u  %-7s status 0x%08X", static_cast<unsigned>(entry.sequence),
        static_cast<unsigned>(entry.timeMs), static_cast<unsigned>(entry.instance),
        KindName(entry.kind), static_cast<unsigned>(entry.status));
    if (head < 0 || static_cast<std::size_t>(head) >= size) {
        return;
    }
    char* rest = out + head;
    const std::size_t restSize = size - static_cast<std::size_t>(head);
    switch (entry.kind) {
    case SimLogOpen: {
        char access[16];
        FormatAccess(entry.desiredAccess, access, sizeof(access));
        std::snprintf(rest, restSize, "  access %s share 0x%X", access,
                      static_cast<unsigned>(entry.shareAccess));
        return;
    }
    case SimLogClose: return;
    case SimLogWrite: {
        char command[32];
        FormatCommandCode(entry.command, command, sizeof(command));
        std::snprintf(rest, restSize, "  in %u out %u  %s (0x%08X)%s",
                      static_cast<unsigned>(entry.inputLength),
                      static_cast<unsigned>(entry.outputLength), command,
                      static_cast<unsigned>(entry.command), entry.applied ? "" : " ignored");
        return;
    }
    default:
        std::snprintf(rest, restSize, "  in %u out %u", static_cast<unsigned>(entry.inputLength),
                      static_cast<unsigned>(entry.outputLength));
        return;
    }
}
