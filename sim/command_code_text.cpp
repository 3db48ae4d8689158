#include "sim/command_code_text.h"

#include "unit/command_names.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint32_t FamilyNumberMax = 0xFF;
constexpr std::size_t MaxNameLength = 31;

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// "0x" and exactly eight hex digits.
bool ParseHexCode(const char* text, std::uint32_t& code) {
    if (std::strlen(text) != 10) {
        return false;
    }
    std::uint32_t value = 0;
    for (const char* p = text + 2; *p != '\0'; ++p) {
        const int digit = HexValue(*p);
        if (digit < 0) {
            return false;
        }
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    code = value;
    return true;
}

bool ParseFamilyNumber(const char* text, std::uint32_t& number) {
    if (*text < '0' || *text > '9' || std::strlen(text) > 3) {
        return false;
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || value > FamilyNumberMax) {
        return false;
    }
    number = static_cast<std::uint32_t>(value);
    return true;
}

} // namespace

bool ParseCommandCode(const char* text, std::uint32_t& code, char* error, std::size_t errorSize) {
    if (std::strncmp(text, "0x", 2) == 0 || std::strncmp(text, "0X", 2) == 0) {
        if (ParseHexCode(text, code)) {
            return true;
        }
        std::snprintf(error, errorSize, "'%s' is not a code: write 0x and eight hex digits", text);
        return false;
    }
    char name[MaxNameLength + 1] = {};
    const char* plus = std::strchr(text, '+');
    const std::size_t nameLength = plus != nullptr ? std::size_t(plus - text) : std::strlen(text);
    if (nameLength > MaxNameLength) {
        std::snprintf(error, errorSize, "unknown command '%s'", text);
        return false;
    }
    std::memcpy(name, text, nameLength);
    const CommandName* entry = FindCommandByName(name);
    if (entry == nullptr) {
        std::snprintf(error, errorSize, "unknown command '%s'", name);
        return false;
    }
    if (!entry->numbered) {
        if (plus != nullptr) {
            std::snprintf(error, errorSize, "%s takes no number", entry->name);
            return false;
        }
        code = entry->code;
        return true;
    }
    std::uint32_t number = 0;
    if (plus == nullptr || !ParseFamilyNumber(plus + 1, number)) {
        std::snprintf(error, errorSize, "%s needs a number from 0 to %u: %s+N", entry->name,
                      FamilyNumberMax, entry->name);
        return false;
    }
    code = entry->code + number;
    return true;
}

void FormatCommandCode(std::uint32_t code, char* out, std::size_t size, char numberSeparator) {
    const CommandName* entry = FindCommandByCode(code);
    if (entry == nullptr) {
        std::snprintf(out, size, "0x%08X", static_cast<unsigned>(code));
    } else if (entry->numbered) {
        std::snprintf(out, size, "%s%c%u", entry->name, numberSeparator,
                      static_cast<unsigned>(CommandNumberOf(code)));
    } else {
        std::snprintf(out, size, "%s", entry->name);
    }
}

void ListCommandNames(char* out, std::size_t size) {
    std::size_t used = 0;
    if (size > 0) {
        out[0] = '\0';
    }
    for (std::size_t i = 0; i < CommandNameCount && used < size; ++i) {
        const CommandName& entry = CommandNames[i];
        const int written = std::snprintf(out + used, size - used, "%s%s%s", i == 0 ? "" : " ",
                                          entry.name, entry.numbered ? "+N" : "");
        if (written < 0) {
            return;
        }
        used += static_cast<std::size_t>(written);
    }
}
