#pragma once

// A minimal spin lock over compiler atomics. Under Wine the driver runs as user-mode threads of
// winedevice.exe, where the kernel's own spin locks buy nothing; every section it guards is a
// few hundred instructions long and never waits on anything.

#include <stdint.h>

struct SpinLock {
    uint8_t held;
};

inline void AcquireSpinLock(SpinLock& lock) {
    while (__atomic_test_and_set(&lock.held, __ATOMIC_ACQUIRE)) {
        while (__atomic_load_n(&lock.held, __ATOMIC_RELAXED)) {
            __builtin_ia32_pause();
        }
    }
}

inline void ReleaseSpinLock(SpinLock& lock) {
    __atomic_clear(&lock.held, __ATOMIC_RELEASE);
}

class SpinLockGuard {
public:
    explicit SpinLockGuard(SpinLock& lock) : lock_(lock) { AcquireSpinLock(lock_); }
    ~SpinLockGuard() { ReleaseSpinLock(lock_); }
    SpinLockGuard(const SpinLockGuard&) = delete;
    SpinLockGuard& operator=(const SpinLockGuard&) = delete;

private:
    SpinLock& lock_;
};
