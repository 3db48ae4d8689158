#include "tray/tray_window.h"

#include "power/power_events.h"
#include "tray/bounded_text.h"
#include "tray/context_menu.h"
#include "tray/status_refresh.h"
#include "tray/status_text.h"
#include "tray/tray_icon.h"
#include "tray/tray_icons.h"
#include "tray/tray_messages.h"
#include "tray/tray_state.h"
#include "tray/volume_gesture.h"
#include "unit/unit_link.h"

namespace {

constexpr UINT RefreshPeriodMs = 5000;
constexpr UINT VolumeStepDelayMs = 100;
constexpr UINT DragTickMs = 100;

struct HotkeyBinding {
    int id;
    UINT key;
};

constexpr HotkeyBinding Hotkeys[] = {
    {HotkeyVolumeUp, VK_UP},    {HotkeyVolumeDown, VK_DOWN}, {HotkeyCdPlayStop, VK_NUMPAD5},
    {HotkeyCdPrev, VK_NUMPAD4}, {HotkeyCdNext, VK_NUMPAD6},
};

void OnTrayAdd() {
    if (trayState.noTrayIcon) {
        return;
    }
    AddTrayIcon();
    // Replaces the start-up picture at once with the unit's state.
    StatusRefresh();
}

void OnTrayRemove() {
    if (!trayState.noTrayIcon) {
        RemoveTrayIcon();
    }
}

void OnCreate(HWND window) {
    trayState.window = window;
    if (!trayState.noTrayIcon) {
        SetTimer(window, RefreshTimer, RefreshPeriodMs, nullptr);
    }
    for (const HotkeyBinding& hotkey : Hotkeys) {
        RegisterHotKey(window, hotkey.id, MOD_CONTROL | MOD_ALT, hotkey.key);
    }
    OnTrayAdd();
}

void OnDestroy() {
    PostQuitMessage(0);
    for (const HotkeyBinding& hotkey : Hotkeys) {
        UnregisterHotKey(trayState.window, hotkey.id);
    }
    OnTrayRemove();
}

void ShowVolume(std::int32_t volume, const char* suffix) {
    SetTrayIcon(VolumeIconIndex(volume), suffix);
}

// A failed read leaves the volume alone: an unknown volume must not be stepped from zero.
void StepVolume(UINT_PTR timer, UnitLink& link) {
    if (link.ReadStatus()) {
        const std::int32_t volume = SteppedVolume(link.status.volume, timer == VolumeUpTimer);
        link.SetVolumeLevel(volume);
        ShowVolume(volume, "Volume");
    }
    KillTimer(trayState.window, timer);
    trayState.volumeKeyPending = false;
}

void DragTick(UnitLink& link) {
    POINT cursor;
    GetCursorPos(&cursor);
    const std::int32_t volume = DragVolume({trayState.dragOrigin.x, trayState.dragOrigin.y},
                                           {cursor.x, cursor.y}, trayState.dragStartVolume);
    trayState.dragVolume = volume;
    // Sent on every tick, changed or not.
    link.SetVolumeLevel(volume);
    char suffix[StatusTextSize];
    FormatText(suffix, " Vol:%d", volume);
    ShowVolume(volume, suffix);
}

void OnTimer(UINT_PTR timer, UnitLink& link) {
    link.EnsureOpen();
    switch (timer) {
    case VolumeUpTimer:
    case VolumeDownTimer: StepVolume(timer, link); break;
    case DragTimer: DragTick(link); break;
    default:
        // A drag owns the icon until the button is released.
        if (!trayState.dragging) {
            StatusRefresh();
        }
        break;
    }
}

void ArmVolumeStep(UINT_PTR timer) {
    // One step per timer period, however fast the keys repeat.
    if (!trayState.volumeKeyPending) {
        SetTimer(trayState.window, timer, VolumeStepDelayMs, nullptr);
    }
    trayState.volumeKeyPending = true;
}

void CdPlayStop(UnitLink& link, bool statusRead) {
    const CdPlayStopAction action =
        statusRead ? DecideCdPlayStop(link.status.discPresent, link.status.cdPlayState)
                   : CdPlayStopAction::Nothing;
    if (action == CdPlayStopAction::Stop) {
        link.SendCommand(CdStop);
        SetTrayIcon(IconIndexOf(CdStopIcon), "CD Stop");
    } else if (action == CdPlayStopAction::PlayPause) {
        link.SendCommand(CdPlayPause);
        SetTrayIcon(IconIndexOf(CdPlayIcon), "CD Play");
    }
}

void OnHotkey(WPARAM hotkey, UnitLink& link) {
    link.EnsureOpen();
    const bool statusRead = link.ReadStatus();
    switch (hotkey) {
    case HotkeyVolumeUp: ArmVolumeStep(VolumeUpTimer); break;
    case HotkeyVolumeDown: ArmVolumeStep(VolumeDownTimer); break;
    case HotkeyCdPlayStop: CdPlayStop(link, statusRead); break;
    case HotkeyCdPrev:
        link.SendCommand(CdPrev);
        SetTrayIcon(IconIndexOf(CdPrevIcon), "CD Prev");
        break;
    case HotkeyCdNext:
        link.SendCommand(CdNext);
        SetTrayIcon(IconIndexOf(CdNextIcon), "CD Next");
        break;
    default: break;
    }
}

// Without the unit's volume there is nothing to drag from: the drag does not start, and a drag
// in progress goes on as it was.
void StartDrag(UnitLink& link) {
    POINT cursor;
    GetCursorPos(&cursor);
    link.EnsureOpen();
    const bool statusRead = link.ReadStatus();
    link.Close();
    if (!statusRead) {
        return;
    }
    trayState.dragOrigin = cursor;
    trayState.dragStartVolume = link.status.volume;
    trayState.dragVolume = link.status.volume;
    trayState.dragging = true;
    SetTimer(trayState.window, DragTimer, DragTickMs, nullptr);
}

void EndDrag() {
    trayState.dragging = false;
    KillTimer(trayState.window, DragTimer);
}

void OnIconMouse(LPARAM mouseMessage, UnitLink& link) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN: StartDrag(link); break;
    case WM_LBUTTONUP: EndDrag(); break;
    case WM_RBUTTONUP: ShowContextMenu(); break;
    case WM_LBUTTONDBLCLK:
        link.TogglePower();
        StatusRefresh();
        break;
    case WM_MBUTTONUP:
        link.ToggleMute();
        StatusRefresh();
        break;
    default: break;
    }
}

// False when the program runs without an icon: the message then goes on untouched.
bool OnTrayCallback(LPARAM mouseMessage, UnitLink& link) {
    if (trayState.noTrayIcon) {
        return false;
    }
    OnIconMouse(mouseMessage, link);
    return true;
}

} // namespace

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Opened only by the handlers that need the unit; the destructor closes what is left open.
    UnitLink link;
    // The shell's value for the name is the same on every call, so it is not kept.
    if (message == RegisterWindowMessageA("TaskbarCreated")) {
        OnTrayAdd();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CREATE: OnCreate(window); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_ENDSESSION: HandleSessionEnd(wParam, link); break;
    case WM_COMMAND: HandleMenuCommand(LOWORD(wParam), link); break;
    case WM_TIMER: OnTimer(wParam, link); break;
    case WM_INITMENUPOPUP: PrepareMenu(reinterpret_cast<HMENU>(wParam)); break;
    case WM_POWERBROADCAST: HandlePowerBroadcast(wParam, link); break;
    case WM_HOTKEY: OnHotkey(wParam, link); break;
    case TrayCallbackMsg:
        if (OnTrayCallback(lParam, link)) {
            return 1;
        }
        break;
    case TrayAddMsg: OnTrayAdd(); break;
    case TrayRemoveMsg: OnTrayRemove(); break;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
