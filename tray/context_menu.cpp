#include "tray/context_menu.h"

#include "tray/menu_command_pause.h"
#include "tray/menu_model.h"
#include "tray/pointer_reading.h"
#include "tray/status_refresh.h"
#include "tray/tray_state.h"
#include "tray/wide_text.h"

namespace {

static_assert(MenuGrayed == MF_GRAYED && MenuDisabled == MF_DISABLED && MenuChecked == MF_CHECKED &&
              MenuPopup == MF_POPUP && MenuBarBreak == MF_MENUBARBREAK &&
              MenuSeparator == MF_SEPARATOR);

void AppendEntry(HMENU menu, const MenuEntry& entry) {
    const UINT_PTR item = (entry.flags & MenuPopup) != 0
                              ? reinterpret_cast<UINT_PTR>(trayState.numberSubmenu)
                              : entry.id;
    wchar_t text[MenuTextSize];
    WidenProgramText(entry.text, text);
    AppendMenuW(menu, entry.flags, item, text);
}

void FillNumberSubmenu(HMENU submenu) {
    const NumberedList list = NumberedListFor(trayState);
    for (std::int32_t number = 1; number <= list.count; ++number) {
        AppendEntry(submenu, NumberedEntry(number, list.current));
    }
}

bool HoldsSubmenu(HMENU menu, HMENU submenu) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (GetSubMenu(menu, position) == submenu) {
            return true;
        }
    }
    return false;
}

void CarryOut(const MenuOperation& operation, UnitLink& link) {
    switch (operation.action) {
    case MenuAction::Send: link.SendCommand(operation.value); break;
    case MenuAction::SelectInput: link.SelectInput(operation.value); break;
    case MenuAction::ToggleMute: link.ToggleMute(); break;
    case MenuAction::CloseWindow: PostMessageA(trayState.window, WM_CLOSE, 0, 0); break;
    case MenuAction::Nothing: break;
    }
}

// Shows the popup at cursor until it closes; true when the numbered submenu went with it.
bool TrackPopup(HMENU numbers, ScreenPoint cursor) {
    // Otherwise the popup stays open when the user clicks somewhere else.
    SetForegroundWindow(trayState.window);
    HMENU menu = LoadMenuA(trayState.instance, MAKEINTRESOURCEA(ContextMenuResource));
    HMENU popup = GetSubMenu(menu, 0);
    FillNumberSubmenu(numbers);
    TrackPopupMenu(popup, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, trayState.window,
                   nullptr);
    // Without a message after it, the next popup of a notification icon can close as soon as
    // it opens.
    PostMessageA(trayState.window, WM_NULL, 0, 0);
    // PrepareMenu attaches the numbered submenu for the tuner and the CD only; attached, it goes
    // with the popup.
    const bool attached = popup != nullptr && HoldsSubmenu(popup, numbers);
    DestroyMenu(menu);
    return attached;
}

} // namespace

void ShowContextMenu() {
    // A right click while the popup is open (its modal loop calls the window procedure again),
    // or while the refresh before it waits on the shell, must neither open a second popup nor
    // replace the numbered submenu that the first one owns. The submenu is the guard.
    if (trayState.numberSubmenu != nullptr) {
        return;
    }
    HMENU numbers = CreateMenu();
    trayState.numberSubmenu = numbers;
    StatusRefresh();
    // While the secure desktop shows, the cursor has no position to open the popup at.
    const PointerReading pointer = pointerReader();
    const bool attached = pointer.cursorKnown && TrackPopup(numbers, pointer.cursor);
    trayState.numberSubmenu = nullptr;
    if (!attached) {
        DestroyMenu(numbers);
    }
}

void PrepareMenu(HMENU menu) {
    // Only the popup that ShowContextMenu tracks gets the marks and the column; opening the
    // numbered submenu changes nothing.
    if (trayState.numberSubmenu == nullptr || menu == trayState.numberSubmenu) {
        return;
    }
    CheckMenuRadioItem(menu, PcUsbItem, TapeAuxItem, static_cast<UINT>(trayState.currentSourceItem),
                       MF_BYCOMMAND);
    if (trayState.muted) {
        CheckMenuItem(menu, MuteItem, MF_BYCOMMAND | MF_CHECKED);
    }
    if (!trayState.powerOn) {
        for (std::uint32_t id : GrayedWhenOff) {
            EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
        }
    }
    const MenuColumn column = SourceColumn(trayState);
    for (std::size_t i = 0; i < column.count; ++i) {
        AppendEntry(menu, column.entries[i]);
    }
}

void HandleMenuCommand(std::uint16_t id, UnitLink& link) {
    link.EnsureOpen();
    CarryOut(MenuCommandOperation(id, trayState.currentSourceItem), link);
    link.Close();
    PauseBeforeMenuRefresh();
    StatusRefresh();
}
