#!/usr/bin/env bash
# Mouse gestures on the tray icon, made with real button presses where the screenshot shows
# the icon: a double click toggles power, a middle click toggles mute, a left-button drag sets
# the volume (one step per three pixels, right or up raises it); the on-screen display shows
# what each sent.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin mouse "${1:?usage: $0 BUILD_DIR}"

program_start
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"
read -r x y < <(tray_icon_centre)
e2e_note "icon at $TRAY_ICON_X,$TRAY_ICON_Y on screen; pointing at $x,$y"

# The commands the unit got since the log was cleared, leaving out the volume commands that
# repeat the volume it already had: a double click's first press starts a drag, whose tick
# may set the unchanged volume once more.
commands_besides_volume() {
    unit_commands | grep -vx "SetVolume+$1" | paste -sd' '
}

# double_click WANTED_POWER WANTED_ICON WANTED_DISPLAY
double_click() {
    local volume
    volume="$(unit_field volume)"
    unitsim log --clear >/dev/null
    e2e_osd_after "double click: the display shows $3" "$3" dblclick "$x" "$y"
    if unit_wait_field power "$1" "$REFRESH_WAIT"; then
        e2e_ok "double click: the unit is $1"
    else
        e2e_not_ok "double click: the unit is $1" "actual: $(unit_field power)"
    fi
    local wanted=PowerOff
    [ "$1" = on ] && wanted=PowerOn
    e2e_check "double click: one $wanted and nothing else" "$wanted" \
        "$(commands_besides_volume "$volume")"
    if tray_wait_icon "$2" "$REFRESH_WAIT" "dblclick-power-$1"; then
        e2e_ok "double click: the refresh right after shows icon $2"
    else
        e2e_not_ok "double click: the refresh right after shows icon $2" \
            "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
    fi
}

double_click off 102 STANDBY
double_click on 101 "POWER ON"

for wanted in on off; do
    unitsim log --clear >/dev/null
    shown="VOLUME $(if [ "$wanted" = on ]; then echo MUTE; else unit_field volume; fi)"
    e2e_osd_after "middle click: the display shows $shown" "$shown" click "$x" "$y" middle
    if unit_wait_field mute "$wanted" "$REFRESH_WAIT"; then
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

# drag_to VOLUME X Y DX DY: drags from X,Y by DX,DY and holds the button there until the unit has
# the volume that position gives (the drag's ticks come every 100 ms, but a busy machine may
# delay them), and the display shows the volume sent; then lets go.
drag_to() {
    local volume="$1"
    shift
    deckprobe drag "$@" --hold
    unit_wait_field volume "$volume" "$REFRESH_WAIT"
    local reached=$?
    e2e_check "drag to volume $volume: the display shows the volume sent" "VOLUME $volume" \
        "$(display_field text)"
    deckprobe release
    return $reached
}

# A drag that stays on the icon: from its bottom-left to its top-right corner, 15 pixels right
# and 15 up, is 30 pixels of drag: ten steps up. The volume picture lasts until the next
# refresh.
drag_on_icon() {
    unitsim set volume=30 >/dev/null
    if drag_to 40 "$TRAY_ICON_X" $((TRAY_ICON_Y + 15)) 15 -15; then
        e2e_ok "drag up and right on the icon: volume 30 + 10"
    else
        e2e_not_ok "drag up and right on the icon: volume 30 + 10" "actual: $(unit_field volume)"
    fi
    e2e_check "drag: the last command sets the new volume" "SetVolume+40" \
        "$(unit_commands | tail -n 1)"
    e2e_check "drag: volume commands only" "" "$(unit_commands | grep -v '^SetVolume+')"
    if tray_wait_icon 14 "$REFRESH_WAIT" "drag-on-icon"; then
        e2e_ok "drag: the tray shows the volume picture, icon 14"
    else
        e2e_not_ok "drag: the tray shows the volume picture, icon 14" \
            "seen: $TRAY_ICON_SEEN" "screenshot: $TRAY_KEPT_SHOT"
    fi
    e2e_tooltip "drag: the tooltip shows the volume" "Norvik Deckhand Vol:40"
}
e2e_between_refreshes drag_on_icon

# drag_is_over WHERE: after a release, the drag is over: the periodic refresh, held back only
# while a drag lasts, comes again and takes the icon back, and moving the pointer changes
# nothing. Judged by the unit's log from a mark after the release.
drag_is_over() {
    local where="$1" mark volume deadline
    mark="$(unit_log_mark)"
    volume="$(unit_field volume)"
    deckprobe move 400 500
    deadline=$((SECONDS + REFRESH_WAIT))
    until [ "$(unit_refreshes "$mark")" -gt 0 ] || [ "$SECONDS" -ge "$deadline" ]; do
        sleep 0.3
    done
    if [ "$(unit_refreshes "$mark")" -gt 0 ]; then
        e2e_ok "released $where, the periodic refresh comes again"
    else
        e2e_not_ok "released $where, the periodic refresh comes again" \
            "log: $(unitsim log | paste -sd'|')"
    fi
    # A tick that was under way at the release may still repeat the volume it had.
    e2e_check "released $where, moving the pointer leaves the volume alone" "$volume " \
        "$(unit_field volume) $(unit_commands "$mark" | grep -vx "SetVolume+$volume" | paste -sd' ')"
    if tray_wait_icon 101 "$REFRESH_WAIT" "drag-released-${where// /-}"; then
        e2e_ok "released $where, the refresh shows icon 101 again"
    else
        e2e_not_ok "released $where, the refresh shows icon 101 again" "seen: $TRAY_ICON_SEEN"
    fi
}
drag_is_over "on the icon"

# The usual gesture: press on the icon, 30 pixels to the right, let go there. Wine's tray passes
# on only what happens over the icon, so the program never hears of this release: the drag's
# own tick finds the button up and ends it.
if drag_to 50 "$x" "$y" 30 0; then
    e2e_ok "drag 30 pixels to the right: volume 40 + 10"
else
    e2e_not_ok "drag 30 pixels to the right: volume 40 + 10" "actual: $(unit_field volume)"
fi
drag_is_over "off the icon"

program_run -S
program_wait_exit "$PROGRAM_PID" 30
e2e_check "the resident copy ends with -S: its exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
