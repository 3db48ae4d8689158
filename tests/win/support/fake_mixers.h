#pragma once

// Mixers of the tests' own behind the volume snapshot while a FakeMixers lives. Every call is
// recorded as text ("open 2", "get 2 id=0x7", "set 2 id=0x7 =99"), with " wrong" added when a
// flag, size or count is not as the mixer functions take it (the sizes of this build: the
// 32-bit ones are checked when the program is compiled).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FakeMixer {
    bool opens = true, speakers = true, volume = true, readable = true;
    std::uint32_t controlId = 0, value = 0;
};

struct FakeMixers {
    explicit FakeMixers(std::vector<FakeMixer> mixers);
    ~FakeMixers();

    std::vector<FakeMixer> mixers;
    std::vector<std::string> calls;
    std::function<void()> onValueCall; // before each read or write of a value
};
