#pragma once

#include <cstdint>

// What Windows says about the taskbar, read afresh whenever the icon's look is chosen.
struct TaskbarFacts {
    std::uint32_t dpi;           // of the taskbar's monitor; 0 when Windows does not say
    std::int32_t smallIconAtDpi; // SM_CXSMICON at dpi; 0 where Windows cannot say (before 10)
    std::int32_t smallIcon;      // SM_CXSMICON at the system DPI
    // SystemUsesLightTheme under HKCU\...\Themes\Personalize, as RegQueryValueExW gave it
    bool themeRead;           // the value is there
    std::uint32_t themeType;  // its registry type
    std::uint32_t themeBytes; // its length
    std::uint32_t themeValue;
};

// How the notification area wants its pictures: the size it draws them at, and whether the
// taskbar is dark.
struct TrayIconLook {
    std::int32_t size;
    bool dark;
};

constexpr std::int32_t DefaultTrayIconSize = 16;
constexpr std::int32_t LargestTrayIconSize = 256; // the largest an icon resource holds

// The small-icon size at the taskbar's DPI, else at the system's; the dark variant only when
// the taskbar is said to be dark (the value is there, a DWORD, and 0). Windows before 10 1903
// has no such value and a light or grey taskbar.
TrayIconLook ChooseTrayIconLook(const TaskbarFacts& facts);

// The icon group that shows the picture of icon resource `resource` in that look.
std::int32_t TrayIconGroup(std::int32_t resource, TrayIconLook look);
