#include "unit/command_packet.h"

void EncodeCommandPacket(std::uint32_t code, std::uint8_t (&packet)[CommandPacketSize]) {
    for (auto& byte : packet) {
        byte = 0;
    }
    packet[0] = static_cast<std::uint8_t>(code >> 24);
    packet[1] = static_cast<std::uint8_t>(code >> 16);
    packet[2] = static_cast<std::uint8_t>(code >> 8);
    packet[3] = static_cast<std::uint8_t>(code);
    packet[4] = static_cast<std::uint8_t>(packet[0] + packet[1] + packet[2] + packet[3]);
}
