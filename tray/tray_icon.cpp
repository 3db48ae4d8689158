#include "tray/tray_icon.h"

#include "tray/icon_handles.h"
#include "tray/status_text.h"
#include "tray/tray_icons.h"
#include "tray/tray_messages.h"
#include "tray/tray_state.h"
#include "tray/wide_text.h"

#include <shellapi.h>

#include <cstddef>
#include <cstring>

namespace {

constexpr UINT TrayIconId = 1025;

// The record in its first form, cbSize NOTIFYICONDATAW_V1_SIZE, whose tooltip holds 64 UTF-16
// units: every shell accepts it, and reads nothing past that size.
static_assert(offsetof(NOTIFYICONDATAW, szTip) + TooltipSize * sizeof(WCHAR) ==
              NOTIFYICONDATAW_V1_SIZE);
#ifndef _WIN64
static_assert(NOTIFYICONDATAW_V1_SIZE == 152);
#endif

NOTIFYICONDATAW BlankIconData(UINT flags) {
    NOTIFYICONDATAW data;
    std::memset(&data, 0, sizeof(data));
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = trayState.window;
    data.uID = TrayIconId;
    data.uFlags = flags;
    return data;
}

// "Norvik Deckhand" followed by suffix, cut to the first form's tooltip in CP932 bytes.
void SetTooltip(NOTIFYICONDATAW& data, const char* suffix) {
    char tooltip[TooltipSize];
    FormatTooltip(suffix, tooltip);
    wchar_t wide[TooltipSize];
    WidenProgramText(tooltip, wide);
    std::memcpy(data.szTip, wide, sizeof(wide));
}

// The picture of icon resource `resource` in the look the notification area wants, which is
// from now on the picture shown. Loaded icons are kept and never destroyed, so loading one on
// every change costs no handles.
HICON LoadTrayIcon(std::int32_t resource) {
    trayState.shownIcon = resource;
    const TrayIconLook look = trayState.iconLook;
    HICON icon = IconAtSize(TrayIconGroup(resource, look), look.size);
    // A Windows that cannot read PNG images (XP) has the light 16x16 pictures in BMP: it shows
    // those, stretched as it always did.
    if (icon == nullptr && look.dark) {
        icon = IconAtSize(resource, look.size);
    }
    if (icon == nullptr && look.size != DefaultTrayIconSize) {
        icon = IconAtSize(resource, DefaultTrayIconSize);
    }
    return icon;
}

} // namespace

void AddTrayIcon() {
    NOTIFYICONDATAW data = BlankIconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = TrayCallbackMsg;
    data.hIcon = LoadTrayIcon(AppIcon);
    SetTooltip(data, "");
    Shell_NotifyIconW(NIM_ADD, &data);
}

void RemoveTrayIcon() {
    NOTIFYICONDATAW data = BlankIconData(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
}

void ShowTrayIconAgain() {
    NOTIFYICONDATAW data = BlankIconData(NIF_ICON);
    data.hIcon = LoadTrayIcon(trayState.shownIcon);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void SetTrayIcon(std::int32_t iconIndex, const char* suffix) {
    // Without NIF_MESSAGE the callback message given when the icon was added stays in force.
    NOTIFYICONDATAW data = BlankIconData(NIF_ICON | NIF_TIP);
    data.uCallbackMessage = TrayCallbackMsg;
    SetTooltip(data, suffix);
    data.hIcon = LoadTrayIcon(IconResourceOfIndex(iconIndex));
    Shell_NotifyIconW(NIM_MODIFY, &data);
}
