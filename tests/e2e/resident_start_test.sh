#!/usr/bin/env bash
# A start without arguments, as at log-on: the unit is powered on exactly once, the program
# stays resident with nothing on screen but its tray icon, and the icon follows the unit (on,
# off, driver unreachable) through the refresh, which the unit's log shows coming every five
# seconds.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin resident_start "${1:?usage: $0 BUILD_DIR}"


unitsim set power=off >/dev/null
program_start
first=$PROGRAM_PID
started=$SECONDS

if tray_wait_icon 101 30 unit-on; then
    e2e_ok "started with the unit off, the tray shows icon 101 (unit on), pixel for pixel"
else
    e2e_bail "started with the unit off, the tray shows icon 101 (unit on), pixel for pixel" \
        "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
fi
e2e_tooltip "the tooltip shows the volume and the tuner line" \
    'Norvik Deckhand Vol=20\n[TUNER 01: FM 76.00MHz]'
e2e_check "exactly one command reached the unit at start-up: PowerOn" "PowerOn" \
    "$(unit_commands | paste -sd' ')"
e2e_check "the unit is on" "on" "$(unit_field power)"

# Resident: still there a while later, with no message box and no window of its own shown.
if deckprobe no-box --for 2000 >"$SESSION_WORK/box.txt"; then
    e2e_ok "no message box at start-up"
else
    e2e_not_ok "no message box at start-up" "box: $(cat "$SESSION_WORK/box.txt")"
fi
if program_running "$first" && deckprobe window >/dev/null; then
    e2e_ok "the program stays resident with its hidden window"
else
    e2e_bail "the program stays resident with its hidden window"
fi
e2e_check "the tray is the only window on screen" "$TRAY_NAME" \
    "$(shown_windows | paste -sd,)"

mark="$(unit_log_mark)"
unitsim set power=off >/dev/null
if tray_wait_icon 102 "$REFRESH_WAIT" unit-off; then
    e2e_ok "the unit switched off by hand: the next refresh shows icon 102"
else
    e2e_not_ok "the unit switched off by hand: the next refresh shows icon 102" \
        "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
fi
e2e_tooltip "the unit off: the tooltip says <OFF>" "Norvik Deckhand <OFF>"
e2e_check "refreshing sends the unit no command" "" "$(unit_commands "$mark" | paste -sd' ')"

# The refresh timer's period, from the unit's log of the copy's life: the median of four periods
# or more, so that one tick that a busy machine delivers late does not decide it. The ticks keep
# to the timer's schedule, so a late one makes the next gap shorter: 4.5 s allows it half a second.
until [ "$(unit_gaps tick tick | wc -l)" -ge 4 ] || [ "$SECONDS" -ge $((started + 45)) ]; do
    sleep 1
done
periods="$(unit_gaps tick tick)"
median="$(sort -n <<<"$periods" | awk '{ p[NR] = $1 }
    END { if (NR >= 4) print (p[int((NR + 1) / 2)] + p[int(NR / 2) + 1]) / 2 }')"
if [ -n "$median" ] && [ "${median%.*}" -ge 4700 ] && [ "${median%.*}" -le 5300 ]; then
    e2e_ok "the refresh timer's period is 5 s: the median of $(wc -l <<<"$periods") is $median ms"
else
    e2e_not_ok "the refresh timer's period is 5 s within 0.3 s, the median of four or more" \
        "periods (ms): $(paste -sd' ' <<<"$periods")"
fi
e2e_least_gap "no refresh timer's status read comes less than 4.5 s after the one before" 4500 \
    "$periods"

program_run -S
e2e_check "-S ends the resident copy: exit code of -S" 0 "$?"
program_wait_exit "$first" 30
e2e_check "-S ends the resident copy: its exit code" 0 "${PROGRAM_STATUS:-still running}"

# Unplugged at start: the program still becomes resident and says so only through its icon.
# This copy runs as on a Windows whose code page is 1252: its Japanese reads the same there
# (faults_test.sh reads the same tooltip under 932).
unitsim unplug >/dev/null
unitsim log --clear >/dev/null
western program_start
second=$PROGRAM_PID
if tray_wait_icon 100 30 unplugged; then
    e2e_ok "started with the unit unplugged, the tray shows icon 100 (driver unreachable)"
else
    e2e_not_ok "started with the unit unplugged, the tray shows icon 100 (driver unreachable)" \
        "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
fi
e2e_tooltip "unplugged, code page 1252: the tooltip says the driver cannot be reached" \
    "Norvik Deckhand ドライバにアクセスできません"
if deckprobe no-box --for 2000 >"$SESSION_WORK/box.txt"; then
    e2e_ok "unplugged: no message box"
else
    e2e_not_ok "unplugged: no message box" "box: $(cat "$SESSION_WORK/box.txt")"
fi
if program_running "$second"; then
    e2e_ok "unplugged: the program stays resident"
else
    e2e_not_ok "unplugged: the program stays resident" "it ended"
fi

unitsim set power=on >/dev/null
unitsim plug >/dev/null
if tray_wait_icon 101 "$REFRESH_WAIT" plugged-again; then
    e2e_ok "plugged in again: the next refresh shows icon 101"
else
    e2e_not_ok "plugged in again: the next refresh shows icon 101" \
        "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
fi

program_run -S
program_wait_exit "$second" 30
e2e_check "the second resident copy ends with -S: its exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
