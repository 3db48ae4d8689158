#!/usr/bin/env bash
# One resident copy per machine: a second plain start reports the first and ends with 1, a
# second start with options just carries them out, -S ends the resident copy (with or without
# its icon) and reports when there is none. The commands of one line reach the unit in order,
# 50 ms apart.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin single_instance "${1:?usage: $0 BUILD_DIR}"

# expect_box DESCRIPTION TEXT: a message box of the program says TEXT; it is dismissed.
expect_box() {
    local text
    if text="$(deckprobe wait-box --timeout 30000)"; then
        e2e_check "$1" "$2" "$text"
    else
        e2e_not_ok "$1" "no message box appeared"
    fi
}

program_start
first=$PROGRAM_PID
tray_wait_icon 101 30 first || e2e_bail "the first copy shows its icon" "seen: $TRAY_ICON_SEEN"

# The icon is taken away (the program's own remove message), so that the second start's
# request to add it again can be seen.
deckprobe post 0x403 >/dev/null
tray_wait_no_icon "$REFRESH_WAIT" icon-removed || e2e_note "the icon did not go away: $TRAY_ICON_SEEN"
program_start
second=$PROGRAM_PID
expect_box "a second plain start says it is already resident" "既に常駐しています"
program_wait_exit "$second" 30
e2e_check "the second plain start ends with exit code 1" 1 "${PROGRAM_STATUS:-still running}"
if program_running "$first"; then
    e2e_ok "the first copy keeps running"
else
    e2e_bail "the first copy keeps running"
fi
if tray_wait_icon 101 "$REFRESH_WAIT" icon-back; then
    e2e_ok "the second start brings the first copy's icon back"
else
    e2e_not_ok "the second start brings the first copy's icon back" "seen: $TRAY_ICON_SEEN"
fi

unitsim set power=off >/dev/null
unitsim log --clear >/dev/null
program_start -p
with_option=$PROGRAM_PID
# A message box would hold the program until someone dismissed it: ending by itself, it showed
# none.
if program_wait_exit "$with_option" 60; then
    e2e_ok "a second start with -p shows no message"
else
    deckprobe no-box --for 100 >"$SESSION_WORK/box.txt" 2>&1
    e2e_not_ok "a second start with -p shows no message" "still running after 60 s" \
        "box: $(cat "$SESSION_WORK/box.txt")"
fi
e2e_check "a second start with -p ends with exit code 0" 0 "${PROGRAM_STATUS:-still running}"
e2e_check "a second start with -p powers the unit on" "on PowerOn" \
    "$(unit_field power) $(unit_commands | paste -sd' ')"

program_run -S
e2e_check "-S with a resident copy: exit code 0" 0 "$?"
program_wait_exit "$first" 30
e2e_check "-S: the resident copy ends with exit code 0" 0 "${PROGRAM_STATUS:-still running}"
if tray_wait_no_icon "$REFRESH_WAIT" stopped; then
    e2e_ok "-S: the icon is gone from the tray"
else
    e2e_not_ok "-S: the icon is gone from the tray" "seen: $TRAY_ICON_SEEN"
fi
deckprobe window --gone 2000 >/dev/null
e2e_check "-S: the hidden window is gone" 0 "$?"

program_start -S
stop_alone=$PROGRAM_PID
expect_box "-S with no resident copy says none runs" "起動していません"
program_wait_exit "$stop_alone" 30
e2e_check "-S with no resident copy ends with exit code 0" 0 "${PROGRAM_STATUS:-still running}"
# The same in Japanese on a Windows whose code page is 1252.
western program_start -S
expect_box "-S with no resident copy, code page 1252: the same text" "起動していません"
program_wait_exit "$PROGRAM_PID" 30

unitsim log --clear >/dev/null
program_run hello world
e2e_check "arguments that are no options: exit code 0" 0 "$?"
e2e_check "arguments that are no options: nothing sent, nothing resident" " absent" \
    "$(unit_commands | paste -sd' ') $(deckprobe window)"

# Several commands on one line reach the unit in order, each followed by the unit's 50 ms. No copy
# is resident here, so every transfer in the log is this run's.
unitsim log --clear >/dev/null
program_run -i3 -v30 -i2
e2e_check "-i3 -v30 -i2: the commands in order" "SelectCd SetVolume+30 SelectTuner" \
    "$(unit_commands | paste -sd' ')"
e2e_least_gap "-i3 -v30 -i2: 50 ms from each command to the next" 49 \
    "$(unit_gaps 'write:.*' "$UNIT_TRANSFER")"

# Resident without an icon: hotkeys, the single-instance guard and -S still reach it.
unitsim set power=off >/dev/null
unitsim log --clear >/dev/null
program_start -s -t
hidden=$PROGRAM_PID
if deckprobe window --wait 30000 >/dev/null; then
    e2e_ok "-s -t: resident, with its hidden window"
else
    e2e_bail "-s -t: resident, with its hidden window"
fi
e2e_check "-s -t: the unit stays off" off "$(unit_field power)"
e2e_check "-s -t: no command at start-up" "" "$(unit_commands | paste -sd' ')"
sleep 1
if tray_window; then
    e2e_not_ok "-s -t: no tray icon" "the tray window is on screen"
    tray_shot "$SESSION_WORK/tray.png" && tray_keep_shot "$SESSION_WORK/tray.png" no-icon
else
    e2e_ok "-s -t: no tray icon"
fi
# Switched on by hand: an off unit takes no volume.
unitsim set power=on >/dev/null
volume="$(unit_field volume)"
deckprobe hotkey up
if unit_wait_field volume $((volume + 1)) "$REFRESH_WAIT"; then
    e2e_ok "-s -t: Ctrl+Alt+Up steps the volume"
else
    e2e_not_ok "-s -t: Ctrl+Alt+Up steps the volume" "actual: $(unit_field volume)" \
        "commands: $(unit_commands | paste -sd' ')"
fi
# The second start runs as on a Windows whose code page is 1252: its box reads the same.
western program_start
second=$PROGRAM_PID
expect_box "-s -t: a second plain start, code page 1252, says it is already resident" \
    "既に常駐しています"
program_wait_exit "$second" 30
e2e_check "-s -t: the second plain start ends with exit code 1" 1 "${PROGRAM_STATUS:-still running}"
sleep 1
if tray_window; then
    e2e_not_ok "-s -t: the second start's add request brings no icon"
else
    e2e_ok "-s -t: the second start's add request brings no icon"
fi
program_run -S
program_wait_exit "$hidden" 30
e2e_check "-s -t: -S ends it with exit code 0" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
