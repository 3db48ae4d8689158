#include "tray/icon_handles.h"

#include "tray/tray_state.h"

namespace {

struct LoadedIcon {
    std::int32_t group;
    std::int32_t size;
    HICON icon;
};

// Every group in both variants at eight sizes: as many scales as a session can pass through.
constexpr int KeptIcons = 17 * 2 * 8;
// Zero-initialised static storage, like trayState.
LoadedIcon keptIcons[KeptIcons];
int keptIconCount;

} // namespace

HICON IconAtSize(std::int32_t group, std::int32_t size) {
    for (int i = 0; i < keptIconCount; ++i) {
        if (keptIcons[i].group == group && keptIcons[i].size == size) {
            return keptIcons[i].icon;
        }
    }
    // Not shared: the system's cache of shared icons may hand back a group's first-loaded size
    // whatever size is asked for later (Wine's does, for a size between two images), and
    // Windows keeps LR_SHARED for the standard sizes. These icons are kept instead, never
    // destroyed, one per group and size.
    UINT flags = 0;
    if (keptIconCount == KeptIcons) {
        // Past that many sizes, shared loads at least add no handles.
        flags = LR_SHARED;
    }
    HICON icon = static_cast<HICON>(
        LoadImageW(trayState.instance, MAKEINTRESOURCEW(group), IMAGE_ICON, size, size, flags));
    if (icon != nullptr && flags == 0) {
        keptIcons[keptIconCount++] = {group, size, icon};
    }
    return icon;
}
