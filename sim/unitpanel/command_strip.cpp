#include "sim/unitpanel/command_strip.h"

#include "sim/command_code_text.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint32_t StatusSuccess = 0;

void Push(CommandStrip& strip, const char* word) {
    if (strip.count > 0) {
        StripItem& newest = strip.items[strip.count - 1];
        if (std::strcmp(newest.word, word) == 0) {
            ++newest.repeats;
            return;
        }
    }
    if (strip.count == StripCapacity) {
        std::memmove(strip.items, strip.items + 1, (StripCapacity - 1) * sizeof(StripItem));
        --strip.count;
    }
    StripItem& item = strip.items[strip.count++];
    std::snprintf(item.word, sizeof(item.word), "%s", word);
    item.repeats = 1;
}

} // namespace

bool StripWord(const SimLogEntry& entry, char* out, std::size_t size) {
    switch (entry.kind) {
    case SimLogOpen:
        if (entry.status == StatusSuccess) {
            return false;
        }
        std::snprintf(out, size, "open failed");
        return true;
    case SimLogClose: return false;
    case SimLogWrite: {
        char command[StripWordSize];
        FormatCommandCode(entry.command, command, sizeof(command), ' ');
        std::snprintf(out, size, "%s%s", command, entry.applied ? "" : " ignored");
        return true;
    }
    case SimLogRead: std::snprintf(out, size, "status read"); return true;
    case SimLogRefused: std::snprintf(out, size, "refused"); return true;
    case SimLogFailed: std::snprintf(out, size, "failed"); return true;
    default: std::snprintf(out, size, "event %u", static_cast<unsigned>(entry.kind)); return true;
    }
}

bool FollowLog(CommandStrip& strip, const SimLogEntry* entries, std::size_t count,
               unsigned instance) {
    if (count > 0 && entries[count - 1].sequence < strip.lastSequence) {
        strip.lastSequence = 0;
    }
    bool changed = false;
    for (std::size_t i = 0; i < count; ++i) {
        const SimLogEntry& entry = entries[i];
        if (entry.sequence <= strip.lastSequence) {
            continue;
        }
        strip.lastSequence = entry.sequence;
        char word[StripWordSize];
        if (entry.instance != instance || !StripWord(entry, word, sizeof(word))) {
            continue;
        }
        Push(strip, word);
        changed = true;
    }
    return changed;
}

void StripItemText(const StripItem& item, char* out, std::size_t size) {
    if (item.repeats > 1) {
        std::snprintf(out, size, "%s x%u", item.word, item.repeats);
    } else {
        std::snprintf(out, size, "%s", item.word);
    }
}

void StripText(const CommandStrip& strip, char* out, std::size_t size) {
    if (size == 0) {
        return;
    }
    out[0] = '\0';
    std::size_t used = 0;
    for (std::size_t i = 0; i < strip.count && used + 1 < size; ++i) {
        char item[StripWordSize + 16];
        StripItemText(strip.items[i], item, sizeof(item));
        const int written =
            std::snprintf(out + used, size - used, "%s%s", i == 0 ? "" : " | ", item);
        used += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
}
