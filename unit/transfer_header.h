#pragma once

#include <cstddef>
#include <cstdint>

// The 19 bytes in front of every exchange with the unit's driver. Only the direction varies.
struct TransferHeader {
    std::uint8_t bytes[19];
};
static_assert(sizeof(TransferHeader) == 19);

constexpr std::size_t TransferHeaderSize = sizeof(TransferHeader);
// The driver puts this many bytes in front of the data it reads back; they are never looked at.
constexpr std::size_t ReadPrefixSize = 8;
constexpr std::size_t WriteReplySize = 8;

TransferHeader MakeTransferHeader(bool isRead);
