#pragma once

#include <windows.h>

#include <cstdint>

// The picture of icon group `group` at size x size, loaded from the program once and then
// kept for the life of the process, so that showing it again costs no handle. Null when the
// group has no such picture or Windows cannot read it.
HICON IconAtSize(std::int32_t group, std::int32_t size);
