#!/usr/bin/env bash
# The icon comes back when the shell asks: after the taskbar is made anew ("TaskbarCreated",
# broadcast by a restarted shell and after a change of display scale; Wine's never restarts, so
# it is posted here as the shell would) and on the program's own add request (0x402), each time
# refreshed at once to the unit's state.
# All at 150 % display scale (144 DPI) on a dark taskbar (SystemUsesLightTheme 0): every
# picture is the dark variant's 24-pixel image, and when the taskbar turns light the picture
# shown turns light at once, whatever it is.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
PERSONALIZE='Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
DARK=1000 # the dark variant's icon ids are this much higher
e2e_prefix_setup() {
    deckhand_prefix_user_value 'Control Panel\Desktop' LogPixels dword:00000090 &&
        deckhand_prefix_user_value "$PERSONALIZE" SystemUsesLightTheme dword:00000000
}
e2e_begin taskbar_created "${1:?usage: $0 BUILD_DIR}"
TRAY_ICON_SIZE=24

program_start
tray_wait_icon $((DARK + 101)) 30 start ||
    e2e_bail "the dark 24-pixel picture of the unit on" "seen: $TRAY_ICON_SEEN"

# icon_returns DESCRIPTION MESSAGE ICON TOOLTIP: the icon is taken away, MESSAGE is posted, and
# ICON and TOOLTIP must come with the refresh that the add runs, not a periodic one.
icon_returns() {
    e2e_between_refreshes icon_removed_and_added "$@"
}

icon_removed_and_added() {
    deckprobe post 0x403 >/dev/null
    if ! tray_wait_no_icon "$REFRESH_WAIT" "$2-removed"; then
        e2e_not_ok "$1" "the remove message (0x403) left the icon: $TRAY_ICON_SEEN"
        return
    fi
    deckprobe post "$2" >/dev/null
    if tray_wait_icon "$3" "$REFRESH_WAIT" "$2-$3"; then
        e2e_ok "$1"
    else
        e2e_not_ok "$1" "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
    fi
    e2e_tooltip "$2: the tooltip is refreshed too" "$4"
}

on_tooltip='Norvik Deckhand Vol=20\n[TUNER 01: FM 76.00MHz]'
icon_returns "TaskbarCreated: the icon is back, showing the unit on (icon 101, dark, 24 px)" \
    TaskbarCreated $((DARK + 101)) "$on_tooltip"
icon_returns "add request 0x402: the icon is back, showing the unit on (icon 101, dark, 24 px)" \
    0x402 $((DARK + 101)) "$on_tooltip"
unitsim set power=off >/dev/null
icon_returns "TaskbarCreated with the unit off: back at once as icon 102 (dark, 24 px)" \
    TaskbarCreated $((DARK + 102)) "Norvik Deckhand <OFF>"
# Unplugged, no refresh reaches the unit's log, and a periodic one would show the same.
unitsim unplug >/dev/null
icon_removed_and_added "TaskbarCreated with the unit unplugged: back at once as icon 100 (dark, 24 px)" \
    TaskbarCreated $((DARK + 100)) "Norvik Deckhand ドライバにアクセスできません"
unitsim plug >/dev/null
unitsim set power=on >/dev/null

# A volume hotkey's picture lasts until the next refresh; the taskbar turning light meanwhile
# shows it again, light (or the unit's, if a refresh came first), sending the unit nothing.
# From volume 20 each attempt steps up once: 21 to 24 all show icon 13.
unitsim set volume=20 >/dev/null
theme=dark
theme_turns_light() {
    local handled
    [ "$theme" = dark ] || deckprobe theme dark >/dev/null
    deckprobe hotkey up
    if ! tray_wait_icon $((DARK + 13)) "$REFRESH_WAIT" hotkey-dark; then
        e2e_not_ok "Ctrl+Alt+Up: the dark 24-pixel picture of volume 21 (icon 13)" \
            "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
        return
    fi
    e2e_ok "Ctrl+Alt+Up: the dark 24-pixel picture of volume 21 (icon 13)"
    handled="$(deckprobe theme light)"
    theme=light
    if [ "${handled:-1000}" -lt 1000 ] 2>/dev/null && { tray_wait_icon 13 1 hotkey-light ||
        { [ "$(unit_refreshes)" != 0 ] && tray_wait_icon 101 0 hotkey-light; }; }; then
        e2e_ok "the taskbar turns light: the picture shown, light, within a second (${handled} ms)"
    else
        e2e_not_ok "the taskbar turns light: the picture shown, light, within a second" \
            "broadcast handled in: ${handled:-?} ms" "seen: $TRAY_ICON_SEEN" \
            "screenshot: $TRAY_KEPT_SHOT"
    fi
    e2e_check "the change of theme sends the unit nothing: commands sent" "SetVolume" \
        "$(unit_commands | sed 's/+.*//' | paste -sd' ')"
}
e2e_between_refreshes theme_turns_light
refresh_now
if tray_wait_icon 101 "$REFRESH_WAIT" light-refresh; then
    e2e_ok "the next refresh shows the light 24-pixel picture of the unit on"
else
    e2e_not_ok "the next refresh shows the light 24-pixel picture of the unit on" \
        "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
fi

program_run -S
program_wait_exit "$PROGRAM_PID" 30
e2e_check "the resident copy ends with -S: its exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
