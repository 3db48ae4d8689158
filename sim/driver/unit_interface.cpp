#include "sim/driver/unit_interface.h"

const GUID UnitInterfaceClass = {
    0x40D21F00, 0x3D74, 0x11D4, {0x9D, 0x36, 0x00, 0x60, 0x97, 0x23, 0x51, 0x3D}};

bool InstanceFromInterfaceLink(const UNICODE_STRING& link, uint32_t& instance) {
    const uint32_t length = link.Length / sizeof(WCHAR);
    uint32_t hashes = 0;
    uint32_t i = 0;
    while (i < length && hashes < 2) {
        if (link.Buffer[i++] == L'#') {
            ++hashes;
        }
    }
    uint32_t value = 0;
    uint32_t digits = 0;
    for (; i < length && link.Buffer[i] != L'#'; ++i) {
        const WCHAR c = link.Buffer[i];
        if (c < L'0' || c > L'9' || digits == 8) {
            return false;
        }
        value = value * 10 + static_cast<uint32_t>(c - L'0');
        ++digits;
    }
    if (hashes < 2 || digits == 0 || i == length) {
        return false;
    }
    instance = value;
    return true;
}
