#include "unit/command_code.h"
#include "unit/command_names.h"
#include "unit/command_packet.h"
#include "unit/transfer_header.h"
#include "unit/unit_status.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint8_t> Packet(std::uint32_t code) {
    std::uint8_t packet[CommandPacketSize];
    EncodeCommandPacket(code, packet);
    return {packet, packet + CommandPacketSize};
}

struct PacketCase {
    const char* name;
    std::uint32_t code;
    std::vector<std::uint8_t> head; // bytes 0-4; the other 27 must be zero
};

TEST(CommandPacket, CodeBigEndianThenChecksumThenZeros) {
    const PacketCase cases[] = {
        {"PowerOff", PowerOff, {0xB8, 0x02, 0x06, 0x80, 0x40}},
        {"PowerOn", PowerOn, {0xB8, 0x02, 0x06, 0x81, 0x41}},
        {"MuteToggle", MuteToggle, {0xB8, 0x02, 0x00, 0x9C, 0x56}},
        {"SelectCd", SelectCd, {0xB8, 0x02, 0x00, 0x92, 0x4C}},
        {"SetVolume 40", NumberedCommand(SetVolume, 40), {0xB8, 0x02, 0x4D, 0x28, 0x2F}},
        {"SetVolume 80", NumberedCommand(SetVolume, 80), {0xB8, 0x02, 0x4D, 0x50, 0x57}},
        {"CdTrack 12", NumberedCommand(CdTrack, 12), {0xB8, 0x02, 0x44, 0x0C, 0x0A}},
        {"TunerPreset 3", NumberedCommand(TunerPreset, 3), {0xB8, 0x02, 0x4C, 0x03, 0x09}},
        {"TunerPreset 25", NumberedCommand(TunerPreset, 25), {0xB8, 0x02, 0x4C, 0x19, 0x1F}},
        // A number never carries into the family's byte.
        {"CdTrack 0x105", NumberedCommand(CdTrack, 0x105), {0xB8, 0x02, 0x44, 0x05, 0x03}},
        {"SetVolume 256", NumberedCommand(SetVolume, 256), {0xB8, 0x02, 0x4D, 0x00, 0x07}},
        {"TunerPreset ~0",
         NumberedCommand(TunerPreset, 0xFFFFFFFF),
         {0xB8, 0x02, 0x4C, 0xFF, 0x05}},
        {"MdEject", MdEject, {0xB8, 0x02, 0x03, 0x40, 0xFD}},
        // The checksum wraps modulo 256.
        {"all ones", 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFC}},
    };
    for (const PacketCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> expected = c.head;
        expected.resize(CommandPacketSize, 0);
        EXPECT_EQ(Packet(c.code), expected);
    }
}

TEST(CommandPacket, OverwritesWhateverTheBufferHeld) {
    std::uint8_t packet[CommandPacketSize];
    for (auto& b : packet) {
        b = 0xEE;
    }
    EncodeCommandPacket(PowerOn, packet);
    for (std::size_t i = 5; i < CommandPacketSize; ++i) {
        EXPECT_EQ(packet[i], 0) << "byte " << i;
    }
}

TEST(CommandTable, InputNumbersMapToSelectCodes) {
    const std::uint32_t expected[] = {
        0, SelectPcUsb, SelectTuner, SelectCd, SelectMd, SelectTapeAux, 0};
    for (unsigned input = 0; input <= 6; ++input) {
        EXPECT_EQ(SelectCodeForInput(input), expected[input]) << "input " << input;
    }
    EXPECT_EQ(SelectCodeForInput(0xFFFFFFFFu), 0u);
    EXPECT_EQ(SelectPcUsb, 0xB8020093u);
}

TEST(CommandTable, NamesAreUniqueAndRoundTrip) {
    EXPECT_EQ(CommandNameCount, 33u);
    for (std::size_t i = 0; i < CommandNameCount; ++i) {
        const CommandName& entry = CommandNames[i];
        EXPECT_EQ((entry.code & 0xFFFF0000u), 0xB8020000u) << entry.name;
        EXPECT_EQ(FindCommandByName(entry.name), &entry);
        EXPECT_EQ(FindCommandByCode(entry.code), &entry) << entry.name;
    }
    EXPECT_EQ(FindCommandByName("poweron"), nullptr);
    EXPECT_EQ(FindCommandByCode(NumberedCommand(CdTrack, 99))->code, CdTrack);
    EXPECT_EQ(FindCommandByCode(0xB8029999u), nullptr);
}

TEST(TransferHeader, ReadAndWriteDifferOnlyInDirection) {
    const std::vector<std::uint8_t> read = {0x42, 0x53, 0, 0, 0, 0, 0x18, 0,    0x01, 0,
                                            0,    0,    0, 0, 0, 0, 0,    0x20, 0};
    std::vector<std::uint8_t> write = read;
    write[8] = 0;
    const TransferHeader r = MakeTransferHeader(true);
    const TransferHeader w = MakeTransferHeader(false);
    EXPECT_EQ(std::vector<std::uint8_t>(r.bytes, r.bytes + TransferHeaderSize), read);
    EXPECT_EQ(std::vector<std::uint8_t>(w.bytes, w.bytes + TransferHeaderSize), write);
}

struct Block {
    std::uint8_t bytes[StatusBlockSize] = {};
    Block& Set(std::size_t index, std::uint8_t value) {
        bytes[index] = value;
        return *this;
    }
};

TEST(StatusBlock, Bcd) {
    const std::pair<std::uint8_t, int> cases[] = {{0x00, 0},  {0x07, 7},  {0x12, 12}, {0x80, 80},
                                                  {0x99, 99}, {0x1A, 20}, {0xFF, 165}};
    for (auto [byte, value] : cases) {
        EXPECT_EQ(DecodeBcd(byte), value) << int(byte);
    }
}

TEST(StatusBlock, PowerMuteAndSoundModeFromByte5) {
    struct Case {
        std::uint8_t byte5;
        bool powerOn, muted;
        int soundMode;
    };
    const Case cases[] = {
        {0x02, false, false, 0}, {0x12, false, false, 1},  {0x11, true, false, 1},
        {0x33, true, true, 3},   {0x00, true, false, 0},   {0x01, true, false, 0},
        {0x43, true, true, 4},   {0xF2, false, false, 15}, {0x0F, true, false, 0},
    };
    for (const Case& c : cases) {
        const UnitStatus s = DecodeStatusBlock(Block().Set(5, c.byte5).bytes);
        EXPECT_EQ(s.powerOn, c.powerOn) << int(c.byte5);
        EXPECT_EQ(s.muted, c.muted) << int(c.byte5);
        EXPECT_EQ(s.soundMode, c.soundMode) << int(c.byte5);
    }
}

TEST(StatusBlock, TunerAndCdReadingsOfTheSameBytes) {
    struct Case {
        std::uint8_t b9, b12, b13;
        int track, preset, frequency;
        bool disc;
        int trackCount;
    };
    const Case cases[] = {
        {0x12, 0x87, 0x50, 12, 12, 8750, false, 50}, {0x03, 0x14, 0x49, 3, 3, 1449, false, 49},
        {0x05, 0x01, 0x12, 5, 5, 112, true, 12},     {0x00, 0x00, 0x00, 0, 0, 0, false, 0},
        {0x00, 0x11, 0x00, 0, 0, 1100, false, 0},    {0x1A, 0x1A, 0x1A, 20, 20, 2020, false, 20},
    };
    for (const Case& c : cases) {
        const UnitStatus s =
            DecodeStatusBlock(Block().Set(9, c.b9).Set(12, c.b12).Set(13, c.b13).bytes);
        EXPECT_EQ(s.track, c.track);
        EXPECT_EQ(s.preset, c.preset);
        EXPECT_EQ(s.frequency, c.frequency);
        EXPECT_EQ(s.discPresent, c.disc);
        EXPECT_EQ(s.trackCount, c.trackCount);
    }
}

TEST(StatusBlock, InputLevelSignAndMagnitude) {
    struct Case {
        std::uint8_t sign, magnitude;
        int level;
    };
    const Case cases[] = {
        {'-', 0x05, -5}, {'+', 0x05, 5},   {'-', 0xFB, 5},    {0x00, 0xFB, -5},
        {' ', 0x00, 0},  {'-', 0x80, 128}, {'+', 0x80, -128}, {'-', 0x7F, -127},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeStatusBlock(Block().Set(6, c.sign).Set(7, c.magnitude).bytes).inputLevel,
                  c.level)
            << int(c.sign) << " " << int(c.magnitude);
    }
}

TEST(StatusBlock, SignedBytesAndUnreadBytes) {
    Block block;
    block.Set(3, 0xFF).Set(4, 0x47).Set(10, 0x02).Set(11, 0x15).Set(14, 0x80).Set(15, 0xFE);
    for (std::size_t i : {0, 1, 2, 8, 16, 20, 31}) {
        block.Set(i, 0xA5); // never read
    }
    const UnitStatus s = DecodeStatusBlock(block.bytes);
    EXPECT_EQ(s.source, -1);
    EXPECT_EQ(s.volume, 47);
    EXPECT_EQ(s.minutes, 2);
    EXPECT_EQ(s.seconds, 15);
    EXPECT_EQ(s.isAm, -128);
    EXPECT_EQ(s.cdPlayState, -2);
    EXPECT_EQ(DecodeStatusBlock(Block().Set(3, 4).Set(14, 1).Set(15, 2).bytes).source, 4);
}

} // namespace
