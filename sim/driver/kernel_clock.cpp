#include "sim/driver/kernel_clock.h"

#include "sim/driver/kernel_headers.h"

uint64_t KernelClockMs() {
    LARGE_INTEGER frequency;
    const LARGE_INTEGER count = KeQueryPerformanceCounter(&frequency);
    const uint64_t ticks = static_cast<uint64_t>(count.QuadPart);
    const uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
    if (perSecond == 0) {
        return 0;
    }
    // Split so that ticks * 1000 cannot overflow however long the machine has been up.
    return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}
