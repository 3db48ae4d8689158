#pragma once

// The Windows-side tests link this recording stand-in for the tray icon instead of the shell's,
// so that what the program would show can be checked.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TrayIconCall {
    enum Kind { Add, Remove, Set, ShowAgain } kind;
    std::int32_t iconIndex; // Set only
    std::string suffix;     // Set only
};

std::vector<TrayIconCall>& TrayIconCalls();
// Called after each Set is recorded: a test's way in while a status refresh runs.
std::function<void()>& OnTrayIconSet();
// The resource id and tooltip of the last Set, or 0 and "" when none.
std::int32_t LastIconResource();
std::string LastTooltipSuffix();
