#include "unit/unit_status.h"

namespace {

constexpr std::uint8_t PowerOffNibble = 2;
constexpr std::uint8_t MutedNibble = 3;

std::int32_t SignedByte(std::uint8_t byte) {
    return static_cast<std::int8_t>(byte);
}

} // namespace

UnitStatus DecodeStatusBlock(const std::uint8_t (&block)[StatusBlockSize]) {
    UnitStatus status = {};
    const std::uint8_t powerAndMute = block[5] & 0x0F;
    status.powerOn = powerAndMute != PowerOffNibble;
    status.muted = powerAndMute == MutedNibble;
    status.soundMode = block[5] >> 4;
    status.source = SignedByte(block[3]);
    status.volume = DecodeBcd(block[4]);
    status.track = DecodeBcd(block[9]);
    status.preset = DecodeBcd(block[9]);
    status.minutes = DecodeBcd(block[10]);
    status.seconds = DecodeBcd(block[11]);
    status.discPresent = block[12] == 1;
    status.trackCount = DecodeBcd(block[13]);
    status.frequency = DecodeBcd(block[12]) * 100 + DecodeBcd(block[13]);
    status.isAm = SignedByte(block[14]);
    status.cdPlayState = SignedByte(block[15]);
    const std::int32_t magnitude = SignedByte(block[7]);
    status.inputLevel = block[6] == '-' ? -magnitude : magnitude;
    return status;
}
