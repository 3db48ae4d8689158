#pragma once

// Mixers of the tests' own behind the volume snapshot, in place of winmm's while a FakeMixers
// lives. Each call is recorded as text ("open 2", "get 2 id=0x7", "set 2 id=0x7 =99"), followed
// by " wrong ..." for every flag, structure size or field that is not as the mixer functions
// take it (the 32-bit sizes are checked at compile time; these are the build's own).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FakeMixer {
    bool opens = true;
    bool speakers = true; // has a speakers destination line
    bool volume = true;   // which has a volume control
    bool readable = true; // whose value can be read
    std::uint32_t controlId = 0;
    std::uint32_t value = 0;
};

struct FakeMixers {
    explicit FakeMixers(std::vector<FakeMixer> mixers);
    ~FakeMixers();

    std::vector<FakeMixer> mixers;
    std::vector<std::string> calls;
    std::function<void()> onValueCall; // before each read or write of a value
};
