#!/usr/bin/env bash
# The icon comes back when the shell asks: after the taskbar is made anew ("TaskbarCreated",
# broadcast by a restarted shell; Wine's never restarts, so it is posted here as the shell
# would) and on the program's own add request (0x402), each time refreshed at once to the
# unit's state.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin taskbar_created "${1:?usage: $0 BUILD_DIR}"

program_start
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"

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
icon_returns "TaskbarCreated: the icon is back, showing the unit on (icon 101)" TaskbarCreated \
    101 "$on_tooltip"
icon_returns "add request 0x402: the icon is back, showing the unit on (icon 101)" 0x402 101 \
    "$on_tooltip"
unitsim set power=off >/dev/null
icon_returns "TaskbarCreated with the unit off: back at once as icon 102" TaskbarCreated 102 \
    "Norvik Deckhand <OFF>"
# Unplugged, no refresh reaches the unit's log, and a periodic one would show the same.
unitsim unplug >/dev/null
icon_removed_and_added "TaskbarCreated with the unit unplugged: back at once as icon 100" \
    TaskbarCreated 100 "Norvik Deckhand ドライバにアクセスできません"
unitsim plug >/dev/null

program_run -S
program_wait_exit "$PROGRAM_PID" 30
e2e_check "the resident copy ends with -S: its exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
