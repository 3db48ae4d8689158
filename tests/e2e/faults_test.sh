#!/usr/bin/env bash
# Faults under one resident copy: the unit unplugged and plugged back, one transfer in three
# failing for a while, every transfer refused as by a busy or broken unit. The same process
# lives through all of them, the icon shows the unit's state after each, no handle to the driver
# stays open, and -S still ends the copy with exit code 0.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin faults "${1:?usage: $0 BUILD_DIR}"

NO_DRIVER="Norvik Deckhand ドライバにアクセスできません"
# Refresh-timer messages and the CD hotkeys 11 and 12, which read the status and send a command:
# a few hundred transfers in some seconds.
WORK=(0x113:0 0x312:11 0x312:12)

# after_phase NAME ICON [TOOLTIP]: the copy started first still runs, a refresh shows ICON (and
# TOOLTIP), and every handle to the unit is closed again.
after_phase() {
    if program_running "$resident"; then
        e2e_ok "$1: the same copy still runs"
    else
        e2e_bail "$1: the same copy still runs" "it has ended"
    fi
    refresh_now
    if tray_wait_icon "$2" "$REFRESH_WAIT" "$1"; then
        e2e_ok "$1: the tray shows icon $2"
    else
        e2e_not_ok "$1: the tray shows icon $2" "seen: $TRAY_ICON_SEEN"
    fi
    [ $# -lt 3 ] || e2e_tooltip "$1: the tooltip reads \"$3\"" "$3"
    if unit_wait_no_handles "$REFRESH_WAIT"; then
        e2e_ok "$1: no handle to the unit stays open"
    else
        e2e_not_ok "$1: no handle to the unit stays open" "open: $(unit_open_handles)"
    fi
}

# log_counts: how many status reads and commands the unit took and how many transfers failed,
# since the log was last cleared.
log_counts() {
    unitsim log | awk '$5 == "read" || $5 == "write" { taken++ } $5 == "failed" { failed++ }
        END { printf "%d taken, %d failed\n", taken, failed }'
}

program_start
resident=$PROGRAM_PID
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"
handles_before="$(program_least_handles)"

unitsim unplug
deckprobe send "${WORK[@]}" --rounds 20 >/dev/null
after_phase "unplugged" 100 "$NO_DRIVER"
# Switched off by hand while away: plugged back, the copy shows what the unit now says.
unitsim set power=off >/dev/null
unitsim plug
after_phase "plugged back in" 102 "Norvik Deckhand <OFF>"
unitsim set power=on >/dev/null
after_phase "switched on" 101

unitsim flaky 3
unitsim log --clear >/dev/null
deckprobe send "${WORK[@]}" --rounds 30 >/dev/null
counts="$(log_counts)"
if [[ "$counts" =~ ^[1-9][0-9]*\ taken,\ [1-9][0-9]*\ failed$ ]]; then
    e2e_ok "one transfer in three failing: some transfers go through, some fail ($counts)"
else
    e2e_not_ok "one transfer in three failing: some transfers go through, some fail" "$counts"
fi
unitsim flaky 0
after_phase "one transfer in three failed" 101

unitsim refuse on
unitsim log --clear >/dev/null
deckprobe send "${WORK[@]}" --rounds 10 >/dev/null
e2e_check "transfers refused: none goes through" "0 taken" "$(log_counts | cut -d, -f1)"
after_phase "transfers refused" 100 "$NO_DRIVER"
unitsim refuse off
after_phase "transfers taken again" 101

# Some hundred failed opens and transfers: a handle kept by any of their paths would show.
handles_after="$(program_least_handles)"
if [ "$handles_after" -le $((handles_before + 2)) ] 2>/dev/null; then
    e2e_ok "the copy holds no more handles after the faults than before" \
        "($handles_before, $handles_after; 2 allowed)"
else
    e2e_not_ok "the copy holds no more handles after the faults than before (2 allowed)" \
        "before: $handles_before" "after:  $handles_after"
fi
program_run -S
program_wait_exit "$resident" 30
e2e_check "-S ends the copy that lived through the faults: exit code" 0 \
    "${PROGRAM_STATUS:-still running}"
e2e_end
