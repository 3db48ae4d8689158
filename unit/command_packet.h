#pragma once

#include "unit/command_code.h"

#include <cstddef>
#include <cstdint>

constexpr std::size_t CommandPacketSize = 32;

// The code big-endian in bytes 0-3, their sum modulo 256 in byte 4, zeros after.
void EncodeCommandPacket(std::uint32_t code, std::uint8_t (&packet)[CommandPacketSize]);
