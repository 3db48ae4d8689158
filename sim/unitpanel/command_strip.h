#pragma once

// The strip under the display: the last few things that reached the unit through its driver,
// in the driver's log's words ("SetVolume 41", "SelectCd", "status read"), oldest first. A run
// of the same thing takes one place with a count, so the program's periodic status reads do
// not push the commands out.

#include "sim/control_protocol.h"

#include <cstddef>
#include <cstdint>

constexpr std::size_t StripCapacity = 6;
constexpr std::size_t StripWordSize = 24;

struct StripItem {
    char word[StripWordSize];
    unsigned repeats; // 1 for a single one
};

struct CommandStrip {
    StripItem items[StripCapacity];
    std::size_t count;
    std::uint32_t lastSequence; // the newest log entry taken in
};

// The strip's word for a log entry; false for entries it leaves out (opens and closes that
// went through).
bool StripWord(const SimLogEntry& entry, char* out, std::size_t size);

// Takes in the entries of the unit's instance that are newer than the last one taken in (the
// log's newest entries, oldest first). A log that starts again from lower sequence numbers (a
// driver started afresh) is followed from its start. Returns whether the strip changed.
bool FollowLog(CommandStrip& strip, const SimLogEntry* entries, std::size_t count,
               unsigned instance);

// "SelectCd | SetVolume 41 | status read x3", oldest first; always terminated when size > 0.
void StripText(const CommandStrip& strip, char* out, std::size_t size);

// One item as the strip prints it: the word, and " x3" after it for a run of three.
void StripItemText(const StripItem& item, char* out, std::size_t size);
