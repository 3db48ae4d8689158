#!/usr/bin/env bash
# The simulated unit's front panel (unitpanel.exe) beside the resident program: real clicks
# and keys (an access key, Tab and space) on it press the unit's keys, a hotkey sent to the
# program shows on the panel's display within a second (read through the window, not in
# pixels), an unplugged unit shows as such, and the panel's handles stay flat over a thousand
# refreshes.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin panel "${1:?usage: $0 BUILD_DIR}"

PANEL_EXE="$DECKHAND_SIM_BUILD_DIR/sim/unitpanel/unitpanel.exe"
REFRESH=0x113:1
VOLUME_DOWN=0x111:108
VOLUME_UP=0x111:109

panel_start() {
    "$WINE" "$PANEL_EXE" "$@" >>"$SESSION_WORK/panel.log" 2>&1 &
    PANEL_PID=$!
    PROGRAM_PIDS+=("$PANEL_PID")
}

# e2e_display DESCRIPTION TEXT: the display's text comes to hold TEXT within a second.
e2e_display() {
    local seen
    if seen="$(deckprobe panel text --wait "$2" --timeout 1000)"; then
        e2e_ok "$1"
    else
        e2e_not_ok "$1" "expected: $2" "shown:    $(head -n 1 <<<"$seen")"
    fi
}

# click_key NAME: a left click in the middle of the panel's key, as a hand makes it.
click_key() {
    local x y
    read -r x y < <(deckprobe panel key "$1") && deckprobe click "$x" "$y"
}

# e2e_unit DESCRIPTION FIELD VALUE
e2e_unit() {
    unit_wait_field "$2" "$3" 3
    e2e_check "$1" "$3" "$(unit_field "$2")"
}

panel_least_handles() {
    local n figure least=''
    for n in 1 2 3; do
        figure="$(usage_figure handles "$(deckprobe usage --panel)")"
        [[ "$figure" =~ ^[0-9]+$ ]] && { [ -z "$least" ] || [ "$figure" -lt "$least" ]; } &&
            least="$figure"
        sleep 0.2
    done
    echo "${least:--}"
}

# panel_close: as its window's close box does; the panel ends with exit code 0.
panel_close() {
    deckprobe send --panel 0x10 >/dev/null
    program_wait_exit "$PANEL_PID" 10
    e2e_check "$1" 0 "${PROGRAM_STATUS:-still running}"
}

# A unit the driver does not have: the panel says so and keeps waiting for it.
panel_start --instance 7
deckprobe panel text --wait "NO UNIT 7" --timeout 30000 >/dev/null &&
    e2e_ok "a panel for a unit that is not there says NO UNIT 7" ||
    e2e_not_ok "a panel for a unit that is not there says NO UNIT 7" "$(deckprobe panel text)"
panel_close "that panel closes with exit code 0"

program_start
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"
panel_start --at 300 60
deckprobe panel text --wait "TUNER | VOL 20" --timeout 30000 >/dev/null ||
    e2e_bail "the panel shows the unit" "shown: $(deckprobe panel text)"
e2e_ok "the panel shows the unit beside the program: $(deckprobe panel text)"

click_key POWER
e2e_unit "a click on POWER switches the unit off" power off
e2e_display "the display shows the standby" STANDBY
click_key POWER
e2e_unit "a second click on POWER switches it on again" power on
click_key "VOL +"
e2e_unit "a click on VOL + steps the volume up" volume 21
deckprobe keys c
e2e_unit "the access key C selects the CD" source cd
deckprobe keys tab space
e2e_unit "Tab goes on to the MD key and space presses it" source md

# Ctrl+Alt+Up to the program: it reads the volume and sets the next one, which the panel shows.
latencies=()
for volume in 22 23 24 25 26; do
    shown="$(deckprobe panel hotkey up "VOL $volume" --timeout 1000 | tail -n 1)"
    [[ "$shown" =~ ^shown\ after\ ([0-9]+)\ ms$ ]] && latencies+=("${BASH_REMATCH[1]}")
done
e2e_check "five hotkeys sent to the program show on the panel within a second each" 5 \
    "${#latencies[@]}"
e2e_note "from the key press to the panel's display: $(printf '%s\n' "${latencies[@]}" |
    sort -n | paste -sd' ') ms"
# The panel's own share: from a change of the unit, made through the driver, to its display.
latencies=()
for volume in 30 31 32 33 34; do
    shown="$(deckprobe panel press $((0xB8024D00 + volume)) "VOL $volume" | tail -n 1)"
    [[ "$shown" =~ ^shown\ after\ ([0-9]+)\ ms$ ]] && latencies+=("${BASH_REMATCH[1]}")
done
e2e_note "from the unit's change to the panel's display: $(printf '%s\n' "${latencies[@]}" |
    sort -n | paste -sd' ') ms"
unitsim set volume=26 >/dev/null
strip="$(deckprobe panel text strip --wait "SetVolume 26" --timeout 1000 | head -n 1)"
e2e_check "the strip names the program's last command" "SetVolume 26" \
    "$(grep -o 'SetVolume 26' <<<"$strip")"

unitsim unplug >/dev/null
e2e_display "an unplugged unit shows as UNPLUGGED" UNPLUGGED
unitsim plug >/dev/null
e2e_display "plugged in again, the unit is back on the display" "MD | VOL 26"

# Each key press repaints the display: a GDI object kept per paint would show in the private
# bytes, since Wine does not count GDI objects.
deckprobe send --panel "$REFRESH" --rounds 100 >/dev/null || e2e_bail "the panel takes refreshes"
before="$(panel_least_handles)" private_before="$(usage_figure private "$(deckprobe usage --panel)")"
sent="$(deckprobe send --panel "$REFRESH" "$VOLUME_UP" "$REFRESH" "$VOLUME_DOWN" --rounds 500)"
after="$(panel_least_handles)" usage="$(deckprobe usage --panel)"
e2e_note "the panel over 1000 refreshes and 1000 key presses ($sent): handles $before, then" \
    "$after; GDI objects $(usage_figure gdi "$usage"); private bytes $private_before, then" \
    "$(usage_figure private "$usage")"
if [ "$after" != - ] && [ "$after" -le $((before + 2)) ] 2>/dev/null; then
    e2e_ok "the panel's handles stay flat over a thousand refreshes"
else
    e2e_not_ok "the panel's handles stay flat over a thousand refreshes" "$before, then $after"
fi
e2e_check "its private bytes grow by less than a megabyte" yes \
    "$([ "$(usage_figure private "$usage")" -lt $((private_before + 1048576)) ] && echo yes)"
e2e_check "the unit's volume after as many steps up as down" 26 "$(unit_field volume)"
unit_wait_no_handles 10 && e2e_ok "the panel holds no handle to the unit" ||
    e2e_not_ok "the panel holds no handle to the unit" "open: $(unit_open_handles)"

panel_close "the panel closes with exit code 0 after the long run"
e2e_end
