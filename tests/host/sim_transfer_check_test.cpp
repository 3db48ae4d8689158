// How the simulated unit's driver judges the framing of one transfer: exactly what the
// program sends is accepted, anything else refused.
#include "sim/transfer_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes ReadHeader = {0x42, 0x53, 0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x01, 0x00,
                          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00};
const Bytes WriteHeader = {0x42, 0x53, 0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00,
                           0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00};
// PowerOn's packet: the code big-endian, the checksum, zeros.
const Bytes PowerOnPacket = {0xB8, 0x02, 0x06, 0x81, 0x41, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                             0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

Bytes WriteBlock(std::size_t size = 51) {
    Bytes block = WriteHeader;
    block.insert(block.end(), PowerOnPacket.begin(), PowerOnPacket.end());
    block.resize(size, 0);
    return block;
}

Bytes With(Bytes bytes, std::size_t index, std::uint8_t value) {
    bytes.at(index) = value;
    return bytes;
}

Bytes Resized(Bytes bytes, std::size_t size) {
    bytes.resize(size, 0);
    return bytes;
}

struct FramingCase {
    const char* name;
    Bytes input;
    std::uint32_t outputLength;
    SimTransferKind expected;
};

void ExpectKinds(const std::vector<FramingCase>& cases) {
    for (const FramingCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckTransfer(c.input.data(), static_cast<std::uint32_t>(c.input.size()),
                                c.outputLength),
                  c.expected);
    }
}

TEST(TransferCheck, ReadsAreTheBareHeaderWithRoomForPrefixAndBlock) {
    ExpectKinds({
        {"exactly 40 bytes out", ReadHeader, 40, SimTransferRead},
        {"more room than needed", ReadHeader, 4096, SimTransferRead},
        {"39 bytes out", ReadHeader, 39, SimTransferRefused},
        {"prefix only", ReadHeader, 8, SimTransferRefused},
        {"no output", ReadHeader, 0, SimTransferRefused},
        {"20 bytes in", Resized(ReadHeader, 20), 40, SimTransferRefused},
        {"51 bytes in, as a write", Resized(ReadHeader, 51), 40, SimTransferRefused},
        {"18 bytes in", Resized(ReadHeader, 18), 40, SimTransferRefused},
    });
}

TEST(TransferCheck, WritesAreHeaderAndPacketWithAnEightByteReply) {
    ExpectKinds({
        {"51 bytes in", WriteBlock(), 8, SimTransferWrite},
        {"zero-padded to 64", WriteBlock(64), 8, SimTransferWrite},
        {"larger reply buffer", WriteBlock(), 40, SimTransferWrite},
        {"50 bytes in", WriteBlock(50), 8, SimTransferRefused},
        {"header alone", WriteHeader, 8, SimTransferRefused},
        {"7 bytes out", WriteBlock(), 7, SimTransferRefused},
        {"no output", WriteBlock(), 0, SimTransferRefused},
        {"padding not zero", With(WriteBlock(64), 51, 0x01), 8, SimTransferRefused},
        {"last padding byte not zero", With(WriteBlock(64), 63, 0x80), 8, SimTransferRefused},
    });
}

TEST(TransferCheck, PacketContentIsTheUnitsBusinessNotTheFramings) {
    // A wrong checksum or stray packet bytes reach the unit, which decides what to ignore.
    ExpectKinds({
        {"wrong checksum", With(WriteBlock(), 19 + 4, 0x00), 8, SimTransferWrite},
        {"packet tail not zero", With(WriteBlock(), 19 + 31, 0xFF), 8, SimTransferWrite},
    });
}

TEST(TransferCheck, EveryFixedHeaderByteCounts) {
    std::vector<FramingCase> cases;
    const struct {
        const char* name;
        std::size_t index;
        std::uint8_t value;
    } changes[] = {
        {"signature B", 0, 'b'}, {"signature S", 1, 's'}, {"zero at 2", 2, 1},
        {"zero at 5", 5, 1},     {"24 low", 6, 25},       {"24 high", 7, 1},
        {"direction 9", 9, 1},   {"direction 11", 11, 1}, {"zero at 12", 12, 1},
        {"zero at 14", 14, 1},   {"zero at 16", 16, 1},   {"32 low", 17, 33},
        {"32 high", 18, 1},
    };
    for (const auto& change : changes) {
        cases.push_back(
            {change.name, With(ReadHeader, change.index, change.value), 40, SimTransferRefused});
        cases.push_back(
            {change.name, With(WriteBlock(), change.index, change.value), 8, SimTransferRefused});
    }
    ExpectKinds(cases);
}

TEST(TransferCheck, DirectionByteDecidesWhichFramingApplies) {
    ExpectKinds({
        {"direction 2", With(ReadHeader, 8, 2), 40, SimTransferRefused},
        {"direction 0xFF", With(WriteBlock(), 8, 0xFF), 8, SimTransferRefused},
        {"read direction on a write block", With(WriteBlock(), 8, 1), 40, SimTransferRefused},
        {"write direction on a bare header", With(ReadHeader, 8, 0), 40, SimTransferRefused},
    });
}

TEST(TransferCheck, MissingInputIsRefused) {
    EXPECT_EQ(CheckTransfer(nullptr, 0, 40), SimTransferRefused);
    EXPECT_EQ(CheckTransfer(nullptr, 51, 8), SimTransferRefused);
    EXPECT_EQ(CheckTransfer(ReadHeader.data(), 0, 40), SimTransferRefused);
}

TEST(TransferCheck, WrittenCommandCodeIsThePacketsFirstFourBytesBigEndian) {
    const struct {
        Bytes packetHead;
        std::uint32_t code;
    } cases[] = {
        {{0xB8, 0x02, 0x06, 0x81}, 0xB8020681},
        {{0xB8, 0x02, 0x4D, 0x28}, 0xB8024D28},
        {{0x01, 0x02, 0x03, 0x04}, 0x01020304},
    };
    for (const auto& c : cases) {
        Bytes block = WriteBlock();
        std::copy(c.packetHead.begin(), c.packetHead.end(), block.begin() + 19);
        EXPECT_EQ(WrittenCommandCode(block.data()), c.code);
    }
}

} // namespace
