#include "sim/transfer_check.h"

namespace {

constexpr uint32_t DirectionOffset = 8;
constexpr uint8_t DirectionRead = 1;
constexpr uint8_t DirectionWrite = 0;

// Written out byte by byte rather than built by the program's own header code, so that a fault
// there cannot hide itself. Byte 8 is the direction and is checked on its own.
constexpr uint8_t ExpectedHeader[SimTransferHeaderSize] = {
    0x42, 0x53, 0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0xFF, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00,
};

bool HeaderMatches(const uint8_t* input, uint8_t direction) {
    for (uint32_t i = 0; i < SimTransferHeaderSize; ++i) {
        const uint8_t expected = i == DirectionOffset ? direction : ExpectedHeader[i];
        if (input[i] != expected) {
            return false;
        }
    }
    return true;
}

bool AllZero(const uint8_t* bytes, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

SimTransferKind CheckTransfer(const uint8_t* input, uint32_t inputLength, uint32_t outputLength) {
    if (input == nullptr || inputLength < SimTransferHeaderSize) {
        return SimTransferRefused;
    }
    if (input[DirectionOffset] == DirectionRead) {
        const bool ok = inputLength == SimTransferHeaderSize && outputLength >= SimReadReplySize &&
                        HeaderMatches(input, DirectionRead);
        return ok ? SimTransferRead : SimTransferRefused;
    }
    // The program zero-fills its write block, so bytes past the packet are zero whatever size
    // the allocator rounded the block up to.
    const bool ok = inputLength >= SimWriteInputMinimum && outputLength >= SimWriteReplySize &&
                    HeaderMatches(input, DirectionWrite) &&
                    AllZero(input + SimWriteInputMinimum, inputLength - SimWriteInputMinimum);
    return ok ? SimTransferWrite : SimTransferRefused;
}

uint32_t WrittenCommandCode(const uint8_t* input) {
    const uint8_t* packet = input + SimTransferHeaderSize;
    return (uint32_t(packet[0]) << 24) | (uint32_t(packet[1]) << 16) | (uint32_t(packet[2]) << 8) |
           uint32_t(packet[3]);
}
