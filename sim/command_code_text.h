#pragma once

// Command codes as unitsim reads and writes them and the front panel names them: the command
// table's names, numbered families with their number after a plus sign (CdTrack+5,
// SetVolume+40), or 0x and eight hex digits for codes the table does not name.

#include <cstddef>
#include <cstdint>

bool ParseCommandCode(const char* text, std::uint32_t& code, char* error, std::size_t errorSize);

// "PowerOn", "SetVolume+40", or "0x12345678" for a code the table does not name; a numbered
// family's number follows numberSeparator ("SetVolume 40" with a space, as the panel shows it).
void FormatCommandCode(std::uint32_t code, char* out, std::size_t size, char numberSeparator = '+');

// Every accepted form, for usage text.
void ListCommandNames(char* out, std::size_t size);
