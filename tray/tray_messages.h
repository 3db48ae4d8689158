#pragma once

#include <windows.h>

// Private messages of the hidden window.
constexpr UINT TrayCallbackMsg = WM_USER + 1; // the icon's mouse messages, in lParam
constexpr UINT TrayAddMsg = WM_USER + 2;      // add the icon (again); a second copy sends it
constexpr UINT TrayRemoveMsg = WM_USER + 3;   // remove the icon

// WM_DPICHANGED, which Windows 8.1 and later send to a window whose monitor's scale changed.
constexpr UINT DpiChangedMsg = 0x02E0;
