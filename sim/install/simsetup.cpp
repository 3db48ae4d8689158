// simsetup: puts the simulated Norvik unit into a Windows installation (in practice a Wine
// prefix): the kernel service for norviksim.sys and N root-enumerated device instances. The
// driver file itself is copied by whoever runs this.
//
//     simsetup install N      service plus instances 0000 to N-1 (1 <= N <= 16)

#include "sim/install/device_install.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned MaxInstances = 16;

int Usage() {
    std::fprintf(stderr, "usage: simsetup install N   (N = number of simulated units, 1 to %u)\n",
                 MaxInstances);
    return 1;
}

bool ParseCount(const char* text, unsigned& count) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > MaxInstances) {
        return false;
    }
    count = static_cast<unsigned>(value);
    return true;
}

int Install(unsigned count) {
    DWORD error = InstallSimService();
    if (error != ERROR_SUCCESS) {
        std::fprintf(stderr, "simsetup: cannot create the %s service (error %lu)\n", SimServiceName,
                     static_cast<unsigned long>(error));
        return 1;
    }
    for (unsigned i = 0; i < count; ++i) {
        error = InstallSimDevice(i);
        if (error != ERROR_SUCCESS) {
            std::fprintf(stderr, "simsetup: cannot install %s\\%04u (error %lu)\n", SimHardwareId,
                         i, static_cast<unsigned long>(error));
            return 1;
        }
    }
    std::printf("simsetup: %s service and %u device instance(s) installed\n", SimServiceName,
                count);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    unsigned count = 0;
    if (argc != 3 || std::strcmp(argv[1], "install") != 0 || !ParseCount(argv[2], count)) {
        return Usage();
    }
    return Install(count);
}
