#include "sim/unitpanel/panel_window.h"

#include "sim/unitpanel/command_strip.h"
#include "sim/unitpanel/panel_ids.h"
#include "sim/unitpanel/panel_keys.h"
#include "sim/unitpanel/panel_layout.h"
#include "sim/unitpanel/panel_paint.h"
#include "sim/unitpanel/panel_view.h"
#include "sim/unitpanel/unit_watch.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Several reads a second: a command from the program shows within about one period.
constexpr UINT RefreshMs = 50;
// A held VOL key: a first step at once, a second after this delay, then one every interval.
constexpr UINT RepeatDelayMs = 400;
constexpr UINT RepeatIntervalMs = 110;
// Posted when a repeating key is drawn pushed down: its hold starts outside the painting.
constexpr UINT HoldStartMsg = WM_APP + 1;
// Newer than the headers' Windows version; the message and the functions exist from Windows
// 8.1 and 10 on, and are looked up at run time.
constexpr UINT DpiChangedMsg = 0x02E0;
constexpr DWORD PanelStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int ProgramIconId = 1;
constexpr std::size_t DisplayTextSize = 192;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct Panel {
    HWND window;
    HWND display;
    HWND strip;
    HWND keys[PanelKeyLimit];
    PanelLayout layout;
    PanelFonts fonts;
    UnitWatch watch;
    PanelView view;
    bool viewShown;
    char displayText[DisplayTextSize];
    CommandStrip log;
    std::vector<SimLogEntry> recentLog;
    HWND lastFocus;
    int heldKey; // the repeating key held down now, 0 for none
};

Panel panel = {};

template <typename Function> Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

int WindowDpi(HWND window) {
    static const auto getDpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpi != nullptr ? getDpi(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

// The window's outer size for the layout's client area, frame and caption at the same DPI.
SIZE WindowSizeFor(const PanelLayout& layout) {
    static const auto adjust = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
    RECT rect = {0, 0, layout.clientWidth, layout.clientHeight};
    if (adjust == nullptr || !adjust(&rect, PanelStyle, FALSE, 0, layout.dpi)) {
        AdjustWindowRectEx(&rect, PanelStyle, FALSE, 0);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

HWND KeyWindow(std::size_t index) {
    return index < PanelKeyCount ? panel.keys[index] : nullptr;
}

std::size_t KeyIndex(int id) {
    for (std::size_t i = 0; i < PanelKeyCount; ++i) {
        if (PanelKeys[i].id == id) {
            return i;
        }
    }
    return PanelKeyCount;
}

HWND PowerKey() {
    return KeyWindow(KeyIndex(PanelPowerKeyId));
}

// The child's own visibility: IsWindowVisible also asks the parent, which is still hidden
// while it is being created.
bool IsShown(HWND child) {
    return (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsShownAndEnabled(HWND child) {
    return child != nullptr && IsShown(child) && IsWindowEnabled(child);
}

// --- what the window shows ---

void PlaceChildren() {
    const PanelLayout& layout = panel.layout;
    const PanelRect& d = layout.display;
    const PanelRect& s = layout.strip;
    MoveWindow(panel.display, d.left, d.top, d.right - d.left, d.bottom - d.top, FALSE);
    MoveWindow(panel.strip, s.left, s.top, s.right - s.left, s.bottom - s.top, FALSE);
    for (std::size_t i = 0; i < PanelKeyCount; ++i) {
        const PanelRect& k = layout.keys[PanelKeys[i].slot];
        MoveWindow(KeyWindow(i), k.left, k.top, k.right - k.left, k.bottom - k.top, FALSE);
    }
}

void ApplyDpi(int dpi) {
    DeletePanelFonts(panel.fonts);
    panel.layout = LayoutPanel(dpi);
    panel.fonts = CreatePanelFonts(panel.layout);
    PlaceChildren();
}

// A key that goes away or goes grey must not keep the keyboard focus.
void KeepFocusOnAKey() {
    HWND focus = GetFocus();
    if (focus == nullptr || GetParent(focus) != panel.window || IsShownAndEnabled(focus)) {
        return;
    }
    SetFocus(IsShownAndEnabled(PowerKey()) ? PowerKey() : panel.window);
}

void ShowKeys(const PanelView& view) {
    const bool ready = view.link == PanelLink::Ready;
    for (std::size_t i = 0; i < PanelKeyCount; ++i) {
        const PanelKey& key = PanelKeys[i];
        HWND window = KeyWindow(i);
        const bool shown = ready ? PanelKeyShown(key, view.source) : key.group == KeyGroupAlways;
        if (IsShown(window) != shown) {
            ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
        }
        if ((IsWindowEnabled(window) != FALSE) != ready) {
            EnableWindow(window, ready);
        }
    }
    // The POWER key carries the standby LED.
    InvalidateRect(PowerKey(), nullptr, FALSE);
    KeepFocusOnAKey();
}

void ShowView(const PanelView& view) {
    const bool keysChange = !panel.viewShown || view.link != panel.view.link ||
                            view.source != panel.view.source || view.powerOn != panel.view.powerOn;
    panel.view = view;
    panel.viewShown = true;
    char text[DisplayTextSize];
    PanelDisplayText(view, text, sizeof(text));
    if (std::strcmp(text, panel.displayText) != 0) {
        std::snprintf(panel.displayText, sizeof(panel.displayText), "%s", text);
        SetWindowTextA(panel.display, text);
    }
    InvalidateRect(panel.display, nullptr, FALSE);
    InvalidateRect(panel.strip, nullptr, FALSE);
    if (keysChange) {
        ShowKeys(view);
    }
}

void ShowLog() {
    char text[DisplayTextSize];
    StripText(panel.log, text, sizeof(text));
    SetWindowTextA(panel.strip, text);
    InvalidateRect(panel.strip, nullptr, FALSE);
}

void Refresh() {
    const PanelReading reading = panel.watch.Read(panel.recentLog);
    const PanelView view = DescribePanel(reading.link, panel.watch.Instance(), reading.state);
    const bool viewChanged = !panel.viewShown || !SamePanelView(view, panel.view);
    if (viewChanged) {
        ShowView(view);
    }
    const bool logChanged = FollowLog(panel.log, panel.recentLog.data(), panel.recentLog.size(),
                                      panel.watch.Instance());
    if (logChanged) {
        ShowLog();
    }
    if (viewChanged || logChanged) {
        // Painted now rather than when the queue runs dry, so that what the unit did shows
        // within the period however busy the panel is.
        RedrawWindow(panel.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

// --- the keys ---

void Press(const PanelKey& key) {
    SimUnitState state = {};
    if (!panel.watch.CurrentState(state)) {
        return;
    }
    const std::uint32_t code = PanelKeyCode(key, state);
    if (code != 0) {
        panel.watch.Press(code);
    }
    Refresh();
}

bool KeyHeldDown(int id) {
    const std::size_t index = KeyIndex(id);
    return index < PanelKeyCount &&
           (SendMessageA(KeyWindow(index), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

void EndHold() {
    panel.heldKey = 0;
    KillTimer(panel.window, PanelRepeatTimer);
}

void OnHoldStart(int id) {
    const PanelKey* key = FindPanelKey(id);
    if (key == nullptr || !key->repeats || panel.heldKey == id || !KeyHeldDown(id)) {
        return;
    }
    panel.heldKey = id;
    Press(*key);
    SetTimer(panel.window, PanelRepeatTimer, RepeatDelayMs, nullptr);
}

void OnRepeat() {
    const PanelKey* key = FindPanelKey(panel.heldKey);
    if (key == nullptr || !KeyHeldDown(panel.heldKey)) {
        EndHold();
        return;
    }
    Press(*key);
    SetTimer(panel.window, PanelRepeatTimer, RepeatIntervalMs, nullptr);
}

// --- message handlers ---

void CreateChildren(HWND window, HINSTANCE instance) {
    constexpr DWORD StaticStyle = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOPREFIX;
    panel.display = CreateWindowExA(0, "STATIC", "", StaticStyle, 0, 0, 0, 0, window,
                                    reinterpret_cast<HMENU>(PanelDisplayId), instance, nullptr);
    panel.strip = CreateWindowExA(0, "STATIC", "", StaticStyle, 0, 0, 0, 0, window,
                                  reinterpret_cast<HMENU>(PanelStripId), instance, nullptr);
    // Created in the table's order, which is the Tab order.
    for (std::size_t i = 0; i < PanelKeyCount; ++i) {
        const PanelKey& key = PanelKeys[i];
        const DWORD visible = key.group == KeyGroupAlways ? WS_VISIBLE : 0;
        panel.keys[i] =
            CreateWindowExA(0, "BUTTON", key.name, WS_CHILD | WS_TABSTOP | BS_OWNERDRAW | visible,
                            0, 0, 0, 0, window, reinterpret_cast<HMENU>(key.id), instance, nullptr);
    }
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA& create) {
    panel.window = window;
    CreateChildren(window, create.hInstance);
    ApplyDpi(WindowDpi(window));
    Refresh();
    SetTimer(window, PanelRefreshTimer, RefreshMs, nullptr);
    return 0;
}

void OnDestroy() {
    KillTimer(panel.window, PanelRefreshTimer);
    EndHold();
    DeletePanelFonts(panel.fonts);
    panel.watch.Close();
    PostQuitMessage(0);
}

void OnTimer(WPARAM id) {
    if (id == PanelRefreshTimer) {
        Refresh();
    } else if (id == PanelRepeatTimer) {
        OnRepeat();
    }
}

void OnCommand(int id, int notification) {
    // Enter: the dialog manager names no default key, so it arrives as IDOK; it presses the
    // key that has the focus.
    if (id == IDOK) {
        HWND focus = GetFocus();
        id = focus != nullptr && GetParent(focus) == panel.window ? GetDlgCtrlID(focus) : 0;
        notification = BN_CLICKED;
    }
    // A second click in quick succession arrives as a double click on a drawn button; on the
    // unit's keys it is a second press.
    const PanelKey* key = FindPanelKey(id);
    if (key == nullptr || (notification != BN_CLICKED && notification != BN_DOUBLECLICKED)) {
        return;
    }
    // A repeating key stepped when it went down; its release ends the hold.
    if (key->repeats && panel.heldKey == id) {
        EndHold();
        return;
    }
    Press(*key);
}

void OnDrawKey(const DRAWITEMSTRUCT& item) {
    const std::size_t index = KeyIndex(static_cast<int>(item.CtlID));
    if (index == PanelKeyCount) {
        return;
    }
    const PanelKey& key = PanelKeys[index];
    KeyLook look = {};
    look.pressed = (item.itemState & ODS_SELECTED) != 0;
    look.focused = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
    look.disabled = (item.itemState & ODS_DISABLED) != 0;
    look.hideAccessKey = (item.itemState & ODS_NOACCEL) != 0;
    look.standbyLit = panel.view.link == PanelLink::Ready && !panel.view.powerOn;
    OffscreenPaint paint(item.hDC, item.rcItem);
    PaintKey(paint.Dc(), paint.Area(), panel.layout, panel.fonts, key, look);
    paint.CopyTo();
    if (look.pressed && key.repeats && panel.heldKey != key.id) {
        PostMessageA(panel.window, HoldStartMsg, static_cast<WPARAM>(key.id), 0);
    }
}

void OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_BUTTON) {
        OnDrawKey(item);
        return;
    }
    OffscreenPaint paint(item.hDC, item.rcItem);
    if (item.CtlID == PanelDisplayId) {
        PaintDisplay(paint.Dc(), paint.Area(), panel.layout, panel.fonts, panel.view);
    } else if (item.CtlID == PanelStripId) {
        PaintStrip(paint.Dc(), paint.Area(), panel.fonts, panel.log,
                   panel.view.link != PanelLink::Ready);
    }
    paint.CopyTo();
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    if (dc != nullptr && GetClientRect(window, &client)) {
        // The whole body, whatever part needs it: the paint's clipping keeps to that part.
        OffscreenPaint buffer(dc, client);
        PaintBody(buffer.Dc(), buffer.Area());
        buffer.CopyTo();
    }
    EndPaint(window, &paint);
}

void OnActivate(WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        panel.lastFocus = GetFocus();
    }
}

void OnSetFocus() {
    HWND target = panel.lastFocus;
    if (target == nullptr || GetParent(target) != panel.window || !IsShownAndEnabled(target)) {
        target = PowerKey();
    }
    if (IsShownAndEnabled(target)) {
        SetFocus(target);
    }
}

void OnDpiChanged(int dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    SetWindowPos(panel.window, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(panel.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK PanelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: OnPaint(window); return 0;
    case WM_ACTIVATE: OnActivate(wParam); break;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case HoldStartMsg: OnHoldStart(static_cast<int>(wParam)); return 0;
    case DpiChangedMsg:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PanelWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ProgramIconId));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = PanelClassName;
    return RegisterClassExA(&windowClass) != 0;
}

HWND CreatePanelWindow(HINSTANCE instance, const PanelOptions& options) {
    panel.watch.Follow(options.instance);
    char title[64];
    std::snprintf(title, sizeof(title), "NV-7 front panel - simulated unit %u", options.instance);
    const SIZE size = WindowSizeFor(LayoutPanel(SystemDpi()));
    HWND window = CreateWindowExA(0, PanelClassName, title, PanelStyle,
                                  options.placed ? options.x : CW_USEDEFAULT,
                                  options.placed ? options.y : CW_USEDEFAULT, size.cx, size.cy,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    // On a monitor whose scale is not the system's, the window takes that monitor's size.
    const SIZE atDpi = WindowSizeFor(panel.layout);
    if (atDpi.cx != size.cx || atDpi.cy != size.cy) {
        SetWindowPos(window, nullptr, 0, 0, atDpi.cx, atDpi.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

int RunPanelMessageLoop(HWND window) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
