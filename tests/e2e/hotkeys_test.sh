#!/usr/bin/env bash
# The system-wide hotkeys, pressed as on a keyboard (Ctrl+Alt+key through SendInput): each
# steps the unit and shows its own picture in the tray until the next refresh, and what it sent
# on the on-screen display, without taking the focus; -n turns the display off, -t keeps it.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin hotkeys "${1:?usage: $0 BUILD_DIR}"

program_start
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"

# hotkey_step NAME KEY SETUP COMMANDS ICON TOOLTIP FIELD VALUE DISPLAY: with the unit set to
# SETUP (unitsim set's FIELD=VALUE words), presses KEY and checks the commands the unit got, the
# unit's FIELD, the tray's picture and tooltip, which last only until the next refresh, and the
# on-screen display's text.
hotkey_step() {
    e2e_between_refreshes hotkey_press "$@"
}

hotkey_press() {
    local name="$1" key="$2" setup="$3" commands="$4" icon="$5" tooltip="$6" field="$7"
    local value="$8" display="$9"
    # shellcheck disable=SC2086 # SETUP is a list of words
    unitsim set $setup >/dev/null
    e2e_osd_after "$name: the display shows $display" "$display" hotkey "$key"
    if unit_wait_field "$field" "$value" "$REFRESH_WAIT"; then
        e2e_ok "$name: the unit's $field is $value"
    else
        e2e_not_ok "$name: the unit's $field is $value" "actual: $(unit_field "$field")"
    fi
    if tray_wait_icon "$icon" "$REFRESH_WAIT" "$key-$icon"; then
        e2e_ok "$name: the tray shows icon $icon"
    else
        e2e_not_ok "$name: the tray shows icon $icon" "seen: $TRAY_ICON_SEEN" \
            "screenshot: $TRAY_KEPT_SHOT"
    fi
    e2e_tooltip "$name: the tooltip reads \"$tooltip\"" "$tooltip"
    e2e_check "$name: commands sent" "$commands" "$(unit_commands | paste -sd' ')"
}

# The hotkeys' tooltip texts follow the display name with no blank between.
hotkey_step "Ctrl+Alt+Up" up volume=20 SetVolume+21 "$(volume_icon 21)" \
    "Norvik DeckhandVolume" volume 21 "VOLUME 21"
hotkey_step "Ctrl+Alt+Down" down volume=20 SetVolume+19 "$(volume_icon 19)" \
    "Norvik DeckhandVolume" volume 19 "VOLUME 19"
# The disc flag shares its status byte with the tuner's frequency: the CD keys see a disc only
# while the CD is the source.
cd_stopped="source=cd disc=yes track=1 cd=stop"
hotkey_step "Ctrl+Alt+Num5 with the CD stopped" num5 "$cd_stopped" CdPlayPause 112 \
    "Norvik DeckhandCD Play" cd play "CD PLAY TRACK 01"
hotkey_step "Ctrl+Alt+Num5 with the CD playing" num5 "$cd_stopped cd=play" CdStop 111 \
    "Norvik DeckhandCD Stop" cd stop "CD STOP TRACK 01"
hotkey_step "Ctrl+Alt+Num6" num6 "$cd_stopped" CdNext 114 "Norvik DeckhandCD Next" track 2 \
    "CD NEXT"
hotkey_step "Ctrl+Alt+Num4" num4 "$cd_stopped track=2" CdPrev 113 "Norvik DeckhandCD Prev" \
    track 1 "CD PREV"
hotkey_step "Ctrl+Alt+Up at volume 80" up volume=80 SetVolume+80 18 "Norvik DeckhandVolume" \
    volume 80 "VOLUME 80"

# Without a disc the key reads the status and does nothing else: once the log shows that read
# (and the link closed again), no command may follow it, and the picture of the step before
# (a volume staircase, drawn here first) must still be up.
num5_without_disc() {
    local mark
    # shellcheck disable=SC2086 # a list of words
    unitsim set $cd_stopped disc=no volume=80 >/dev/null
    deckprobe hotkey up
    if ! tray_wait_icon 18 "$REFRESH_WAIT" num5-before; then
        e2e_not_ok "Ctrl+Alt+Num5 without a disc: the volume picture is up first" \
            "seen: $TRAY_ICON_SEEN"
        return
    fi
    mark="$(unit_log_mark)"
    deckprobe hotkey num5
    if ! unit_wait_handled "$REFRESH_WAIT" "$mark"; then
        e2e_not_ok "Ctrl+Alt+Num5 without a disc: the key reads the status" \
            "log: $(unitsim log | paste -sd'|')"
        return
    fi
    e2e_check "Ctrl+Alt+Num5 without a disc sends nothing" "" \
        "$(unit_commands "$mark" | paste -sd' ')"
    if tray_wait_icon 18 0 num5-no-disc; then
        e2e_ok "Ctrl+Alt+Num5 without a disc leaves the icon as it was"
    else
        e2e_not_ok "Ctrl+Alt+Num5 without a disc leaves the icon as it was" \
            "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
    fi
}
e2e_between_refreshes num5_without_disc

# The on-screen display shows what a hotkey sent. The front panel stands in for the program the
# user works in: it has the keyboard focus, and keeps it while the display comes and goes.
"$WINE" "$DECKHAND_SIM_BUILD_DIR/sim/unitpanel/unitpanel.exe" --at 300 60 \
    >>"$SESSION_WORK/panel.log" 2>&1 &
PROGRAM_PIDS+=("$!")
deckprobe panel text --wait "" --timeout 30000 >/dev/null || e2e_bail "the front panel opens"

unitsim set volume=20 >/dev/null
deckprobe display --gone --timeout 5000 >/dev/null
focus="$(display_field foreground)"
e2e_check "the front panel has the keyboard focus" NorvikUnitPanel "$focus"
unitsim log --clear >/dev/null
e2e_osd_after "Ctrl+Alt+Up shows VOLUME 21 on the display" "VOLUME 21" hotkey up
e2e_check "the display leaves the keyboard focus where it was" "$focus" "$(display_field foreground)"
e2e_check "the display: topmost, never activated, no taskbar button, the mouse goes through it" \
    "topmost toolwindow noactivate layered transparent" "$(display_field flags)"
# A held key's steps, each while the last one still shows; after the last, how long it stays.
held=
for volume in 22 23 24; do
    deckprobe display hotkey up "VOLUME $volume" >/dev/null || held+=" VOLUME $volume"
done
stayed="$(deckprobe display hotkey up "VOLUME 25" --gone |
    sed -n 's/^gone after \([0-9]*\) ms$/\1/p')"
e2e_check "held, the key's steps show on the display one by one" "" "$held"
e2e_check "one display window for all the steps" 1 "$(display_field windows)"
if [ -n "$stayed" ] && [ "$stayed" -le 3000 ]; then
    e2e_ok "the display is gone again within 3 s of the last step (after $stayed ms)"
else
    e2e_not_ok "the display is gone again within 3 s of the last step" \
        "gone after: ${stayed:-more than 10 s, or the step did not show}"
fi
e2e_check "the unit got one volume step per key, as without the display" \
    "SetVolume+21 SetVolume+22 SetVolume+23 SetVolume+24 SetVolume+25" \
    "$(unit_commands | paste -sd' ')"

# hotkey_events: what the unit sees of one volume step, from the key to the step's link closed.
hotkey_events() {
    unitsim set volume=20 >/dev/null
    unitsim log --clear >/dev/null
    deckprobe hotkey up && unit_wait_field volume 21 3 && unit_wait_handled 3
    STEP_EVENTS="$(unit_events | paste -sd' ')"
}
e2e_between_refreshes hotkey_events
with_display="$STEP_EVENTS"

program_run -S
program_wait_exit "$PROGRAM_PID" 30
e2e_check "the resident copy ends with -S: its exit code" 0 "${PROGRAM_STATUS:-still running}"

# -n: no display at all, and the unit sees the same step.
program_start -s -n
tray_wait_icon 101 30 no-display || e2e_bail "the copy started with -s -n shows its icon"
e2e_between_refreshes hotkey_events
e2e_check "with -n the unit sees the same transfers for a step" "$with_display" "$STEP_EVENTS"
e2e_check "with -n no display window is ever made" 0 "$(display_field windows)"
program_run -S
program_wait_exit "$PROGRAM_PID" 30

# -t: no icon, but the hotkeys still show the display (the -n copy's step left the unit at 21).
program_start -s -t
deckprobe window --wait 30000 >/dev/null || e2e_bail "the copy started with -s -t is resident"
e2e_osd_after "with -t Ctrl+Alt+Down shows VOLUME 20 on the display" "VOLUME 20" hotkey down
program_run -S
program_wait_exit "$PROGRAM_PID" 30
e2e_end
