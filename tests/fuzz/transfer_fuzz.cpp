// The simulated unit's side of the transfer control code: the framing check on whatever a
// program sends, then what the driver does with a transfer it accepted (the command applied to
// the unit, the status block written back), with time passing between transfers.
//
// Input: transfers, each a 16-bit input length, a 16-bit output length and a 32-bit count of
// milliseconds that pass before it (all little-endian), then the input bytes.
#include "fuzz_support.h"
#include "sim/transfer_check.h"
#include "sim/unit_model.h"
#include "unit/command_code.h"
#include "unit/unit_status.h"

#include <algorithm>
#include <memory>

namespace {

// What no sequence of commands and time can take a factory unit out of.
void CheckUnit(const SimUnitState& unit) {
    FUZZ_CHECK(unit.volume <= MaxVolume);
    FUZZ_CHECK(unit.source <= SourcePcUsb);
    FUZZ_CHECK(unit.soundMode <= SoundModeTone);
    FUZZ_CHECK(unit.preset >= 1 && unit.preset <= SimPresetCount);
    FUZZ_CHECK(unit.inputLevel >= SimInputLevelMin && unit.inputLevel <= SimInputLevelMax);
    FUZZ_CHECK(unit.mdTrack <= SimMaxTracks);
    if (unit.discPresent) {
        FUZZ_CHECK(unit.track >= 1 && unit.track <= unit.trackCount);
    }
    FUZZ_CHECK(!unit.muted || unit.powerOn);
}

// The block the unit renders reads back, through the program's decoding, as the unit's state.
void CheckRendered(const SimUnitState& unit, const std::uint8_t (&block)[SimTransferDataSize]) {
    const UnitStatus status = DecodeStatusBlock(block);
    FUZZ_CHECK(status.powerOn == (unit.powerOn != 0) && status.muted == (unit.muted != 0));
    FUZZ_CHECK(status.source == unit.source && status.volume == unit.volume);
    FUZZ_CHECK(status.soundMode == unit.soundMode && status.inputLevel == unit.inputLevel);
    FUZZ_CHECK(status.cdPlayState == unit.cdState);
    if (unit.source == SourceTuner) {
        FUZZ_CHECK(status.preset == unit.preset && status.frequency == unit.frequency);
        FUZZ_CHECK((status.isAm != 0) == (unit.band == SimBandAm));
    } else {
        FUZZ_CHECK(status.track == unit.track && status.trackCount == unit.trackCount);
        FUZZ_CHECK(status.discPresent == (unit.discPresent != 0));
        FUZZ_CHECK(status.minutes * 60 + status.seconds ==
                   static_cast<std::int32_t>(unit.elapsedMs / 1000));
    }
}

// As the driver carries it out: METHOD_BUFFERED hands it one system buffer of the larger of the
// two lengths, holding the input, and takes the reply back from the same buffer.
void Transfer(SimUnitState& unit, const std::uint8_t* bytes, std::uint32_t inputLength,
              std::uint32_t outputLength) {
    std::unique_ptr<std::uint8_t[]> input;
    if (inputLength > 0) {
        // A block of exactly the input's size, so that reading past it is caught.
        input = std::make_unique<std::uint8_t[]>(inputLength);
        std::memcpy(input.get(), bytes, inputLength);
    }
    const SimTransferKind kind = CheckTransfer(input.get(), inputLength, outputLength);
    if (kind == SimTransferRefused) {
        return;
    }
    const std::uint32_t systemSize = std::max(inputLength, outputLength);
    auto system = std::make_unique<std::uint8_t[]>(systemSize);
    std::memcpy(system.get(), input.get(), inputLength);
    if (kind == SimTransferWrite) {
        FUZZ_CHECK(inputLength >= SimWriteInputMinimum && outputLength >= SimWriteReplySize);
        const auto& packet = *reinterpret_cast<const std::uint8_t(*)[SimTransferDataSize]>(
            system.get() + SimTransferHeaderSize);
        // The driver names the code in its log whether or not the unit knows it.
        (void)WrittenCommandCode(system.get());
        SimUnitApplyPacket(unit, packet);
        std::memset(system.get(), 0, SimWriteReplySize);
        return;
    }
    FUZZ_CHECK(inputLength == SimTransferHeaderSize && outputLength >= SimReadReplySize);
    std::uint8_t block[SimTransferDataSize];
    SimUnitRenderStatus(unit, block);
    CheckRendered(unit, block);
    std::memset(system.get(), 0xEE, SimReadPrefixSize);
    std::memcpy(system.get() + SimReadPrefixSize, block, sizeof(block));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    SimUnitState unit;
    std::memset(&unit, 0, sizeof(unit));
    SimUnitReset(unit);
    while (input.Left() > 0) {
        std::size_t inputLength = input.Take<std::uint16_t>();
        const std::uint32_t outputLength = input.Take<std::uint16_t>();
        SimUnitTick(unit, input.Take<std::uint32_t>());
        const std::uint8_t* bytes = input.Span(inputLength);
        Transfer(unit, bytes, static_cast<std::uint32_t>(inputLength), outputLength);
        CheckUnit(unit);
    }
    return 0;
}
