#include "tray/tray_handlers.h"

#include "tray/bounded_text.h"
#include "tray/context_menu.h"
#include "tray/monitor_dpi.h"
#include "tray/osd_window.h"
#include "tray/pointer_reading.h"
#include "tray/status_refresh.h"
#include "tray/status_text.h"
#include "tray/taskbar_facts.h"
#include "tray/tray_icon.h"
#include "tray/tray_icons.h"
#include "tray/tray_state.h"
#include "tray/volume_gesture.h"
#include "unit/unit_link.h"

#include <cstring>
#include <cwchar>

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

void ShowVolume(std::int32_t volume, const char* suffix) {
    SetTrayIcon(VolumeIconIndex(volume), suffix);
}

// The on-screen display tells what reached the unit, after it has: a command the driver did not
// take shows nothing. before is the status read just before the command, or null.
void ShowSent(bool accepted, std::uint32_t code, const UnitStatus* before) {
    if (accepted) {
        ShowOnScreenDisplay(DescribeOsd(code, before));
    }
}

// A failed read leaves the volume alone: an unknown volume must not be stepped from zero.
void StepVolume(UINT_PTR timer, UnitLink& link) {
    if (link.ReadStatus()) {
        const std::int32_t volume = SteppedVolume(link.status.volume, timer == VolumeUpTimer);
        ShowSent(link.SetVolumeLevel(volume), NumberedCommand(SetVolume, volume), &link.status);
        ShowVolume(volume, "Volume");
    }
    KillTimer(trayState.window, timer);
    trayState.volumeKeyPending = false;
}

void EndDrag() {
    trayState.dragging = false;
    KillTimer(trayState.window, DragTimer);
}

void DragTick(UnitLink& link) {
    const DragTickDecision tick =
        DecideDragTick(pointerReader(), {trayState.dragOrigin.x, trayState.dragOrigin.y},
                       trayState.dragStartVolume, trayState.dragDpi);
    switch (tick.action) {
    case DragTickAction::EndDrag: EndDrag(); return;
    case DragTickAction::SendNothing: return;
    case DragTickAction::SetVolume: break;
    }
    trayState.dragVolume = tick.volume;
    // Sent on every tick, changed or not; the display stays up while the button is held.
    ShowSent(link.SetVolumeLevel(tick.volume), NumberedCommand(SetVolume, tick.volume), nullptr);
    char suffix[StatusTextSize];
    FormatText(suffix, " Vol:%d", tick.volume);
    ShowVolume(tick.volume, suffix);
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
        ShowSent(link.SendCommand(CdStop), CdStop, &link.status);
        SetTrayIcon(IconIndexOf(CdStopIcon), "CD Stop");
    } else if (action == CdPlayStopAction::PlayPause) {
        ShowSent(link.SendCommand(CdPlayPause), CdPlayPause, &link.status);
        SetTrayIcon(IconIndexOf(CdPlayIcon), "CD Play");
    }
}

// The icon changes even when the command could not be sent; the display only when it was.
void CdTrackKey(std::uint32_t code, IconResource icon, const char* suffix, UnitLink& link,
                bool statusRead) {
    ShowSent(link.SendCommand(code), code, statusRead ? &link.status : nullptr);
    SetTrayIcon(IconIndexOf(icon), suffix);
}

// The power toggles from the state that the operation itself reads.
void TogglePower(UnitLink& link) {
    std::uint32_t sent = 0;
    link.TogglePower(&sent);
    ShowSent(sent != 0, sent, nullptr);
    StatusRefresh();
}

// The mute command toggles whatever the unit's state: the refresh right after it reads which
// way it went, for the display.
void ToggleMute(UnitLink& link) {
    const bool sent = link.ToggleMute();
    UnitStatus after;
    if (StatusRefresh(&after) && sent) {
        ShowOnScreenDisplay(DescribeMute(after));
    }
}

// Without the cursor's position or the unit's volume there is nothing to drag from: the drag
// does not start, and a drag in progress goes on as it was.
void StartDrag(UnitLink& link) {
    const PointerReading pointer = pointerReader();
    if (!pointer.cursorKnown) {
        return;
    }
    link.EnsureOpen();
    const bool statusRead = link.ReadStatus();
    link.Close();
    if (!statusRead) {
        return;
    }
    trayState.dragOrigin = {pointer.cursor.x, pointer.cursor.y};
    trayState.dragDpi = MonitorDpiAt(pointer.cursor);
    trayState.dragStartVolume = link.status.volume;
    trayState.dragVolume = link.status.volume;
    trayState.dragging = true;
    SetTimer(trayState.window, DragTimer, DragTickMs, nullptr);
}

void OnIconMouse(LPARAM mouseMessage, UnitLink& link) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN: StartDrag(link); break;
    case WM_LBUTTONUP: EndDrag(); break;
    case WM_RBUTTONUP: ShowContextMenu(); break;
    case WM_LBUTTONDBLCLK: TogglePower(link); break;
    case WM_MBUTTONUP: ToggleMute(link); break;
    default: break;
    }
}

void ChooseIconLook() {
    trayState.iconLook = ChooseTrayIconLook(ReadTaskbarFacts());
}

// The setting's name arrives in the window's character set.
bool NamesColourSet(HWND window, LPARAM setting) {
    if (setting == 0) {
        return false;
    }
    if (IsWindowUnicode(window)) {
        return std::wcscmp(reinterpret_cast<const wchar_t*>(setting), L"ImmersiveColorSet") == 0;
    }
    return std::strcmp(reinterpret_cast<const char*>(setting), "ImmersiveColorSet") == 0;
}

} // namespace

void HandleTrayAdd() {
    if (trayState.noTrayIcon) {
        return;
    }
    // The shell adds its icons anew after a change of display scale too.
    ChooseIconLook();
    AddTrayIcon();
    // Replaces the start-up picture at once with the unit's state.
    StatusRefresh();
}

void HandleTaskbarChange() {
    if (trayState.noTrayIcon) {
        return;
    }
    // What is shown stays: a hotkey's or the drag's picture until the next refresh.
    ChooseIconLook();
    ShowTrayIconAgain();
}

void HandleSettingChange(HWND window, LPARAM setting) {
    if (NamesColourSet(window, setting)) {
        HandleTaskbarChange();
    }
}

void HandleTrayRemove() {
    if (!trayState.noTrayIcon) {
        RemoveTrayIcon();
    }
}

void HandleCreate(HWND window) {
    trayState.window = window;
    if (!trayState.noTrayIcon) {
        SetTimer(window, RefreshTimer, RefreshPeriodMs, nullptr);
    }
    for (const HotkeyBinding& hotkey : Hotkeys) {
        RegisterHotKey(window, hotkey.id, MOD_CONTROL | MOD_ALT, hotkey.key);
    }
    HandleTrayAdd();
}

void HandleDestroy() {
    PostQuitMessage(0);
    for (const HotkeyBinding& hotkey : Hotkeys) {
        UnregisterHotKey(trayState.window, hotkey.id);
    }
    HandleTrayRemove();
    DestroyOnScreenDisplay();
}

void HandleTimer(UINT_PTR timer, UnitLink& link) {
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

void HandleHotkey(WPARAM hotkey, UnitLink& link) {
    link.EnsureOpen();
    const bool statusRead = link.ReadStatus();
    switch (hotkey) {
    case HotkeyVolumeUp: ArmVolumeStep(VolumeUpTimer); break;
    case HotkeyVolumeDown: ArmVolumeStep(VolumeDownTimer); break;
    case HotkeyCdPlayStop: CdPlayStop(link, statusRead); break;
    case HotkeyCdPrev: CdTrackKey(CdPrev, CdPrevIcon, "CD Prev", link, statusRead); break;
    case HotkeyCdNext: CdTrackKey(CdNext, CdNextIcon, "CD Next", link, statusRead); break;
    default: break;
    }
}

bool HandleTrayCallback(LPARAM mouseMessage, UnitLink& link) {
    if (trayState.noTrayIcon) {
        return false;
    }
    OnIconMouse(mouseMessage, link);
    return true;
}
