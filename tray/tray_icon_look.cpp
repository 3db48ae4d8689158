#include "tray/tray_icon_look.h"

#include "res/resource_ids.h"

namespace {

constexpr std::uint32_t RegistryDword = 4; // REG_DWORD

std::int32_t ChooseSize(const TaskbarFacts& facts) {
    std::int32_t size =
        facts.dpi != 0 && facts.smallIconAtDpi > 0 ? facts.smallIconAtDpi : facts.smallIcon;
    if (size <= 0) {
        return DefaultTrayIconSize;
    }
    return size < LargestTrayIconSize ? size : LargestTrayIconSize;
}

} // namespace

TrayIconLook ChooseTrayIconLook(const TaskbarFacts& facts) {
    const bool dark = facts.themeRead && facts.themeType == RegistryDword &&
                      facts.themeBytes == sizeof(std::uint32_t) && facts.themeValue == 0;
    return {ChooseSize(facts), dark};
}

std::int32_t TrayIconGroup(std::int32_t resource, TrayIconLook look) {
    return look.dark ? resource + IDI_DARK_OFFSET : resource;
}
