#!/usr/bin/env bash
# The system-wide hotkeys, pressed as on a keyboard (Ctrl+Alt+key through SendInput): each
# steps the unit and shows its own picture in the tray until the next refresh.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin hotkeys "${1:?usage: $0 BUILD_DIR}"

program_start
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"

# hotkey_step NAME KEY SETUP COMMANDS ICON TOOLTIP FIELD VALUE: with the unit set to SETUP
# (unitsim set's FIELD=VALUE words), presses KEY and checks the commands the unit got, the
# unit's FIELD and the tray's picture and tooltip, which last only until the next refresh.
hotkey_step() {
    e2e_between_refreshes hotkey_press "$@"
}

hotkey_press() {
    local name="$1" key="$2" setup="$3" commands="$4" icon="$5" tooltip="$6" field="$7"
    local value="$8"
    # shellcheck disable=SC2086 # SETUP is a list of words
    unitsim set $setup >/dev/null
    if ! deckprobe hotkey "$key"; then
        e2e_not_ok "$name: the key press could not be sent"
        return
    fi
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
    "Norvik DeckhandVolume" volume 21
hotkey_step "Ctrl+Alt+Down" down volume=20 SetVolume+19 "$(volume_icon 19)" \
    "Norvik DeckhandVolume" volume 19
# The disc flag shares its status byte with the tuner's frequency: the CD keys see a disc only
# while the CD is the source.
cd_stopped="source=cd disc=yes track=1 cd=stop"
hotkey_step "Ctrl+Alt+Num5 with the CD stopped" num5 "$cd_stopped" CdPlayPause 112 \
    "Norvik DeckhandCD Play" cd play
hotkey_step "Ctrl+Alt+Num5 with the CD playing" num5 "$cd_stopped cd=play" CdStop 111 \
    "Norvik DeckhandCD Stop" cd stop
hotkey_step "Ctrl+Alt+Num6" num6 "$cd_stopped" CdNext 114 "Norvik DeckhandCD Next" track 2
hotkey_step "Ctrl+Alt+Num4" num4 "$cd_stopped track=2" CdPrev 113 "Norvik DeckhandCD Prev" \
    track 1
hotkey_step "Ctrl+Alt+Up at volume 80" up volume=80 SetVolume+80 18 "Norvik DeckhandVolume" \
    volume 80

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

program_run -S
program_wait_exit "$PROGRAM_PID" 30
e2e_check "the resident copy ends with -S: its exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
