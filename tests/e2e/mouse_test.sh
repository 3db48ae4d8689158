#!/usr/bin/env bash
# Mouse gestures on the tray icon, made with real button presses where the screenshot shows
# the icon: a double click toggles power, a middle click toggles mute, a left-button drag sets
# the volume (one step per three pixels, right or up raises it).
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin mouse "${1:?usage: $0 BUILD_DIR}"

program_start
tray_wait_icon 101 15 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"
read -r x y < <(tray_icon_centre)
e2e_note "icon at $TRAY_ICON_X,$TRAY_ICON_Y on screen; pointing at $x,$y"

# The commands the unit got since the log was cleared, leaving out the volume commands that
# repeat the volume it already had: a double click's first press starts a drag, whose tick
# may set the unchanged volume once more.
commands_besides_volume() {
    unit_commands | grep -vx "SetVolume+$1" | paste -sd' '
}

# double_click WANTED_POWER WANTED_ICON
double_click() {
    local volume
    volume="$(unit_field volume)"
    unitsim log --clear >/dev/null
    deckprobe dblclick "$x" "$y"
    if unit_wait_field power "$1" 3; then
        e2e_ok "double click: the unit is $1"
    else
        e2e_not_ok "double click: the unit is $1" "actual: $(unit_field power)"
    fi
    local wanted=PowerOff
    [ "$1" = on ] && wanted=PowerOn
    e2e_check "double click: one $wanted and nothing else" "$wanted" \
        "$(commands_besides_volume "$volume")"
    if tray_wait_icon "$2" 3 "dblclick-power-$1"; then
        e2e_ok "double click: the refresh right after shows icon $2"
    else
        e2e_not_ok "double click: the refresh right after shows icon $2" \
            "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
    fi
}

double_click off 102
double_click on 101

for wanted in on off; do
    unitsim log --clear >/dev/null
    deckprobe click "$x" "$y" middle
    if unit_wait_field mute "$wanted" 3; then
        e2e_ok "middle click: mute is $wanted"
    else
        e2e_not_ok "middle click: mute is $wanted" "actual: $(unit_field mute)"
    fi
    e2e_check "middle click: one MuteToggle" MuteToggle "$(unit_commands | paste -sd' ')"
    if [ "$wanted" = on ]; then
        e2e_tooltip "middle click: the refresh right after shows <MUTE> in the tooltip" \
            'Norvik Deckhand <MUTE>\n[TUNER 01: FM 76.00MHz]'
    fi
done

# A drag that stays on the icon: from its bottom-left to its top-right corner, 15 pixels right
# and 15 up, is 30 pixels of drag: ten steps up.
volume="$(unit_field volume)"
refresh_quiet_period
deckprobe drag "$TRAY_ICON_X" $((TRAY_ICON_Y + 15)) 15 -15
if unit_wait_field volume $((volume + 10)) 2; then
    e2e_ok "drag up and right on the icon: volume $volume + 10"
else
    e2e_not_ok "drag up and right on the icon: volume $volume + 10" "actual: $(unit_field volume)"
fi
e2e_check "drag: the last command sets the new volume" "SetVolume+$((volume + 10))" \
    "$(unit_commands | tail -n 1)"
e2e_check "drag: volume commands only" "" "$(unit_commands | grep -v '^SetVolume+')"
icon="$(volume_icon $((volume + 10)))"
if tray_wait_icon "$icon" 1 "drag-on-icon"; then
    e2e_ok "drag: the tray shows the volume picture, icon $icon"
else
    e2e_not_ok "drag: the tray shows the volume picture, icon $icon" \
        "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
fi
e2e_tooltip "drag: the tooltip shows the volume" "Norvik Deckhand Vol:$((volume + 10))"
# Released on the icon, the drag is over: moving the pointer no longer changes anything, and
# the periodic refresh takes the icon back.
deckprobe move 400 500
sleep 0.5
e2e_check "after the release, moving the pointer leaves the volume alone" $((volume + 10)) \
    "$(unit_field volume)"
if tray_wait_icon 101 7 "drag-released"; then
    e2e_ok "after the release, the refresh shows icon 101 again"
else
    e2e_not_ok "after the release, the refresh shows icon 101 again" "seen: $TRAY_ICON_SEEN"
fi

# The usual gesture: press on the icon, 30 pixels to the right, let go there.
volume="$(unit_field volume)"
deckprobe drag "$x" "$y" 30 0
if unit_wait_field volume $((volume + 10)) 2; then
    e2e_ok "drag 30 pixels to the right: volume $volume + 10"
else
    e2e_not_ok "drag 30 pixels to the right: volume $volume + 10" "actual: $(unit_field volume)"
fi
# Wine's tray passes on only what happens over the icon, so the program never hears of this
# release and still follows the pointer; the stop below ends that.
e2e_note "released off the icon: Wine's tray does not pass that release on"

program_run -S
program_wait_exit "$PROGRAM_PID" 10
e2e_check "the resident copy ends with -S: its exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
