#!/usr/bin/env bash
# The system-wide hotkeys, pressed as on a keyboard (Ctrl+Alt+key through SendInput): each
# steps the unit and shows its own picture in the tray until the next refresh.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin hotkeys "${1:?usage: $0 BUILD_DIR}"

program_start
tray_wait_icon 101 15 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"

# hotkey_step NAME KEY COMMANDS ICON TOOLTIP FIELD VALUE: presses KEY between two refreshes,
# then checks the commands the unit got, the unit's FIELD and the tray's picture and tooltip.
hotkey_step() {
    local name="$1" key="$2" commands="$3" icon="$4" tooltip="$5" field="$6" value="$7"
    refresh_quiet_period || e2e_note "$name: no refresh seen before the press"
    if ! deckprobe hotkey "$key"; then
        e2e_not_ok "$name: the key press could not be sent"
        return
    fi
    if unit_wait_field "$field" "$value" 2; then
        e2e_ok "$name: the unit's $field is $value"
    else
        e2e_not_ok "$name: the unit's $field is $value" "actual: $(unit_field "$field")"
    fi
    e2e_check "$name: commands sent" "$commands" "$(unit_commands | paste -sd' ')"
    if tray_wait_icon "$icon" 2 "$key-$icon"; then
        e2e_ok "$name: the tray shows icon $icon"
    else
        e2e_not_ok "$name: the tray shows icon $icon" "seen: $TRAY_ICON_SEEN" \
            "screenshot: $TRAY_KEPT_SHOT"
    fi
    e2e_tooltip "$name: the tooltip reads \"$tooltip\"" "$tooltip"
}

volume="$(unit_field volume)"
e2e_note "volume before: $volume"
# The hotkeys' tooltip texts follow the display name with no blank between.
hotkey_step "Ctrl+Alt+Up" up "SetVolume+$((volume + 1))" "$(volume_icon $((volume + 1)))" \
    "Norvik DeckhandVolume" volume $((volume + 1))
hotkey_step "Ctrl+Alt+Down" down "SetVolume+$volume" "$(volume_icon "$volume")" \
    "Norvik DeckhandVolume" volume "$volume"
# The disc flag shares its status byte with the tuner's frequency: the CD keys see a disc only
# while the CD is the source.
unitsim set source=cd >/dev/null
e2e_check "the CD is the source, stopped with a disc in" "cd stop yes" \
    "$(unit_field source) $(unit_field cd) $(unit_field disc)"
hotkey_step "Ctrl+Alt+Num5 with the CD stopped" num5 CdPlayPause 112 "Norvik DeckhandCD Play" \
    cd play
hotkey_step "Ctrl+Alt+Num5 with the CD playing" num5 CdStop 111 "Norvik DeckhandCD Stop" cd stop
hotkey_step "Ctrl+Alt+Num6" num6 CdNext 114 "Norvik DeckhandCD Next" track 2
hotkey_step "Ctrl+Alt+Num4" num4 CdPrev 113 "Norvik DeckhandCD Prev" track 1

unitsim set volume=80 >/dev/null
hotkey_step "Ctrl+Alt+Up at volume 80" up SetVolume+80 18 "Norvik DeckhandVolume" volume 80

unitsim set disc=no >/dev/null
refresh_quiet_period
deckprobe hotkey num5
sleep 1
e2e_check "Ctrl+Alt+Num5 without a disc sends nothing" "" "$(unit_commands | paste -sd' ')"
# Still the volume picture of the step before: no CD picture was drawn over it.
if tray_wait_icon 18 1 num5-no-disc; then
    e2e_ok "Ctrl+Alt+Num5 without a disc leaves the icon as it was"
else
    e2e_not_ok "Ctrl+Alt+Num5 without a disc leaves the icon as it was" "seen: $TRAY_ICON_SEEN" \
        "screenshot: $TRAY_KEPT_SHOT"
fi

program_run -S
program_wait_exit "$PROGRAM_PID" 10
e2e_check "the resident copy ends with -S: its exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
