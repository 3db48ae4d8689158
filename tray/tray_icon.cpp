#include "tray/tray_icon.h"

#include "tray/status_text.h"
#include "tray/tray_icons.h"
#include "tray/tray_messages.h"
#include "tray/tray_state.h"

#include <shellapi.h>

#include <cstring>

namespace {

constexpr UINT TrayIconId = 1025;

// The first form of the record, whose tooltip holds 64 bytes; every shell accepts it.
struct NotifyIconDataV1 {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[TooltipSize];
};
static_assert(sizeof(NotifyIconDataV1) == NOTIFYICONDATAA_V1_SIZE);
#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 88);
#endif

NotifyIconDataV1 BlankIconData(UINT flags) {
    NotifyIconDataV1 data;
    std::memset(&data, 0, sizeof(data));
    data.cbSize = sizeof(data);
    data.hWnd = trayState.window;
    data.uID = TrayIconId;
    data.uFlags = flags;
    return data;
}

HICON LoadTrayIcon(std::int32_t resource) {
    // Shared icons are never destroyed, so loading one on every change costs no handles.
    return static_cast<HICON>(
        LoadImageA(trayState.instance, MAKEINTRESOURCEA(resource), IMAGE_ICON, 16, 16, LR_SHARED));
}

void NotifyShell(DWORD action, NotifyIconDataV1& data) {
    Shell_NotifyIconA(action, reinterpret_cast<NOTIFYICONDATAA*>(&data));
}

} // namespace

void AddTrayIcon() {
    NotifyIconDataV1 data = BlankIconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    data.uCallbackMessage = TrayCallbackMsg;
    data.hIcon = LoadTrayIcon(AppIcon);
    FormatTooltip("", data.szTip);
    NotifyShell(NIM_ADD, data);
}

void RemoveTrayIcon() {
    NotifyIconDataV1 data = BlankIconData(0);
    NotifyShell(NIM_DELETE, data);
}

void SetTrayIcon(std::int32_t iconIndex, const char* suffix) {
    // Without NIF_MESSAGE the callback message given when the icon was added stays in force.
    NotifyIconDataV1 data = BlankIconData(NIF_ICON | NIF_TIP);
    data.uCallbackMessage = TrayCallbackMsg;
    FormatTooltip(suffix, data.szTip);
    data.hIcon = LoadTrayIcon(IconResourceOfIndex(iconIndex));
    NotifyShell(NIM_MODIFY, data);
}
