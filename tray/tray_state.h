#pragma once

#include "tray/tray_icon_look.h"
#include "tray/osd_content.h"
#include "tray/tray_unit_state.h"

#include <windows.h>

#include <cstdint>

class MixerVolumeSnapshot;

// The one process-wide record of the program: handles, command-line switches, what the last
// status refresh found, and the gestures in progress. Everything starts at zero and lives until
// the process ends; only the UI thread touches it.
struct TrayState : TrayUnitState {
    HWND window;
    HINSTANCE instance;
    bool keepPowerAtSessionEnd; // -q
    bool noTrayIcon;            // -t
    bool noOnScreenDisplay;     // -n
    MixerVolumeSnapshot* mixerSnapshot;
    bool dragging;
    POINT dragOrigin;
    std::uint32_t dragDpi; // of the monitor where the drag began; 0 when Windows did not say
    std::int32_t dragStartVolume;
    std::int32_t dragVolume;
    bool volumeKeyPending;
    HMENU numberSubmenu;
    TrayIconLook iconLook;  // how the notification area wants its pictures; chosen on adding
    std::int32_t shownIcon; // the icon resource whose picture the icon shows now
    // The on-screen display: its window, made when it is first needed; what it shows, at the
    // DPI of the monitor it stands on; its opacity while it fades.
    HWND osdWindow;
    OsdContent osdContent;
    std::uint32_t osdDpi;
    BYTE osdAlpha;
};

extern TrayState trayState;
