#pragma once

// How the simulated unit's driver judges one call of the unit's transfer control code. The
// program frames every exchange the same way, so anything else is a fault in the program and
// is refused rather than guessed at. Freestanding: the kernel driver and the host tests share it.

#include <stdint.h>

constexpr uint32_t SimTransferHeaderSize = 19;
constexpr uint32_t SimTransferDataSize = 32;
// A write carries the header and then the command packet; the block may be larger, all zeros.
constexpr uint32_t SimWriteInputMinimum = SimTransferHeaderSize + SimTransferDataSize;
constexpr uint32_t SimWriteReplySize = 8;
// A read is answered with an 8-byte prefix and then the status block.
constexpr uint32_t SimReadPrefixSize = 8;
constexpr uint32_t SimReadReplySize = SimReadPrefixSize + SimTransferDataSize;

enum SimTransferKind : uint8_t {
    SimTransferRefused = 0,
    SimTransferWrite = 1,
    SimTransferRead = 2,
};

// input may be null only when inputLength is 0.
SimTransferKind CheckTransfer(const uint8_t* input, uint32_t inputLength, uint32_t outputLength);

// The command code of an accepted write: packet bytes 0-3, big-endian.
uint32_t WrittenCommandCode(const uint8_t* input);
