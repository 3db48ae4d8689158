#!/usr/bin/env bash
# The tray icon's popup menu, opened with a real right click and used as a user would, with
# the mouse and the keyboard: what it offers for each source, and that a chosen entry reaches
# the unit through a link of its own and is followed by a status refresh, 150 ms later.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin menu "${1:?usage: $0 BUILD_DIR}"

program_start
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"

# open_menu NAME: a right click on the icon, and the popup on screen; the unit's log from then.
open_menu() {
    unitsim log --clear >/dev/null
    menu_open || e2e_bail "$1: the popup opens on a right click" "$(unitsim log | tail -n 5)"
}

# check_column NAME EXPECTED: the entries right of the resource's, from the status line on.
check_column() {
    e2e_check "$1: the column of the source" "$2" "$(menu_entries 0 | sed -n '/^1024 /,$p')"
}

# sent NAME COMMAND [FIELD VALUE]: the popup closes, and the unit's log shows COMMAND and no
# other, written through its own link and followed by a status refresh; then the unit's FIELD.
sent() {
    local name="$1" command="$2"
    deckprobe menu closed || e2e_not_ok "$name: the popup closes"
    if unit_wait_events "open write:$command close open read close" "$REFRESH_WAIT" &&
        [ "$(unit_commands)" = "$command" ]; then
        e2e_ok "$name: $command alone reaches the unit, then the status is read"
    else
        e2e_not_ok "$name: $command alone reaches the unit, then the status is read" \
            "the unit's log: $UNIT_EVENTS"
    fi
    # The command's own 50 ms, then 100 ms for the unit to act on it before the refresh reads.
    e2e_least_gap "$name: the refresh reads 150 ms after $command" 149 \
        "$(unit_gaps "write:${command//+/[+]}" 'read|tick')"
    if [ $# -eq 4 ]; then
        e2e_check "$name: the unit's $3" "$4" "$(unit_field "$3")"
    fi
}

# choose NAME ID COMMAND [FIELD VALUE]: a click on the entry ID of the open popup.
choose() {
    deckprobe menu click "$2" || e2e_not_ok "$1: entry $2 is there to click"
    sent "$1" "${@:3}"
}

open_menu "tuner"
e2e_check "tuner: the popup as the resource has it, tuner marked" "$(
    cat <<'EOF'
40001 - PC USB(&1)
40002 radio,checked TUNER(&2)
40003 - CD(&3)
40004 - MD(&4)
40005 - TAPE/AUX(&5)
sep
40006 - ミュート(&M)
40010 - N.B.(&N)
sep
40007 - 終了(&Q)
EOF
)" "$(menu_entries 0 | sed '/^1024 /,$d')"
TUNER_COLUMN="$(
    cat <<'EOF'
1024 break [TUNER 01: FM 76.00MHz]
sep
1026 - AM/FM(&B)
1027 - AUTO/MONO(&M)
1028 - 次プリセット >>|(&F)
1029 - 前プリセット <<|(&B)
sep
sub - プリセット(&P)
EOF
)"
check_column "tuner" "$TUNER_COLUMN"
menu_open_submenu || e2e_not_ok "the numbered submenu opens"
e2e_check "tuner: 40 presets in two columns, the current one checked" \
    "40 41002:checked 41022:break" \
    "$(menu_entries 1 | awk '{ n++ } $2 != "-" { marks = marks " " $1 ":" $2 } END { print n marks }')"
choose "preset 25 from the submenu" 41026 TunerPreset+25 preset 25

open_menu "source entry"
choose "CD(&3)" 40003 SelectCd source cd

open_menu "CD stopped"
CD_STOPPED_COLUMN="$(
    cat <<'EOF'
1024 break [CD-STOP: 01 00:00]
sep
1040 - |> (再生)(&P)
1041 - □ (停止) (&S)
1042 - >>| (次トラック) (&F)
1043 - <<| (前トラック) (&B)
1044 - △ (取り出し)(&E)
sep
sub - トラック(&T)
EOF
)"
check_column "CD stopped" "$CD_STOPPED_COLUMN"
# Escape leaves without a command. The status line is an entry without one: picking it still
# runs the command's link and refresh, and those come after anything Escape might have caused.
deckprobe keys escape
deckprobe menu closed || e2e_not_ok "Escape closes the popup"
menu_open || e2e_bail "the popup opens again"
deckprobe menu click 1024
if unit_wait_events "open close open read close" "$REFRESH_WAIT" && [ -z "$(unit_commands)" ]; then
    e2e_ok "Escape, then the status line: nothing reaches the unit, the status is read"
else
    e2e_not_ok "Escape, then the status line: nothing reaches the unit, the status is read" \
        "the unit's log: $UNIT_EVENTS"
fi

open_menu "CD stopped"
choose "the CD's play key" 1040 CdPlayPause cd play

open_menu "CD playing"
e2e_check "CD playing: the play key offers a pause" "1040 - | | (一時停止)(&P)" \
    "$(menu_entries 0 | grep '^1040 ')"
menu_open_submenu || e2e_not_ok "the numbered submenu opens"
e2e_check "CD playing: the disc's 12 tracks, the current one checked" "12 41002:checked" \
    "$(menu_entries 1 | awk '{ n++ } $2 != "-" { marks = marks " " $1 ":" $2 } END { print n marks }')"
choose "track 5 from the submenu" 41006 CdTrack+5 track 5

# The other sources: chosen in one popup, their keys used in the next.
open_menu "MD"
choose "MD(&4)" 40004 SelectMd source md
open_menu "MD"
check_column "MD" "$(
    cat <<'EOF'
1024 break [MD Input= 0]
sep
41201 - |> (再生)(&P)
41202 - □ (停止) (&S)
41203 - >>| (次トラック) (&F)
41204 - |<< (前トラック) (&B)
41205 - △ (取り出し) (&E)
sep
41301 - InputLevel + (&I)
41302 - InputLevel - (&K)
EOF
)"
choose "MD's input level up" 41301 InputLevelUp inputlevel 1

open_menu "tape/aux"
choose "TAPE/AUX(&5)" 40005 SelectTapeAux source tape
open_menu "tape/aux"
e2e_check "tape/aux: marked" "40005 radio,checked TAPE/AUX(&5)" "$(menu_entries 0 | grep '^40005 ')"
e2e_check "tape/aux: its keys" "41101 41102 41105 41104 41103 41301 41302" \
    "$(menu_entries 0 | sed -n '/^1024 /,$p' | awk '$1 ~ /^41/ { print $1 }' | paste -sd' ')"
choose "tape fast forward" 41105 TapeFastForward tape ff

open_menu "PC USB"
choose "PC USB(&1)" 40001 SelectPcUsb source pcusb
open_menu "PC USB"
e2e_check "PC USB: no column, no status line" "10 40001" \
    "$(menu_entries 0 | awk '{ n++ } $2 ~ /checked/ { marked = $1 } END { print n, marked }')"
choose "ミュート(&M)" 40006 MuteToggle mute on
open_menu "N.B. by its key"
e2e_check "muted: the mute entry is checked" "40006 checked ミュート(&M)" \
    "$(menu_entries 0 | grep '^40006 ')"
deckprobe keys n
sent "N.B.(&N) by its key" NbKey soundmode nb1

unitsim set power=off >/dev/null
tray_wait_icon 102 "$REFRESH_WAIT" "off" ||
    e2e_not_ok "the refresh shows the unit off" "seen: $TRAY_ICON_SEEN"
open_menu "unit off"
e2e_check "unit off: the sources and mute are grayed, N.B. and exit are not" \
    "40001 40002 40003 40004 40005 40006" \
    "$(menu_entries 0 | awk '$2 ~ /grayed/ { print $1 }' | paste -sd' ')"
deckprobe keys q
if program_wait_exit "$PROGRAM_PID" 10; then
    e2e_check "終了(&Q) by its key: the program ends, exit code 0" 0 "$PROGRAM_STATUS"
else
    e2e_not_ok "終了(&Q) by its key: the program ends" "still running"
fi
e2e_check "終了(&Q): no command, and the status refresh still runs before the end" \
    "open close open read close" "$(unit_events | tail -n 5 | paste -sd' ')"

# On a Windows whose code page is 1252 the columns of the unit at its factory state read the same.
unitsim reset >/dev/null
western program_start
tray_wait_icon 101 30 western || e2e_bail "code page 1252: the icon shows" "seen: $TRAY_ICON_SEEN"
open_menu "tuner, code page 1252"
check_column "tuner, code page 1252" "$TUNER_COLUMN"
deckprobe keys escape
deckprobe menu closed || e2e_not_ok "code page 1252: Escape closes the popup"
unitsim set source=cd >/dev/null
open_menu "CD stopped, code page 1252"
check_column "CD stopped, code page 1252" "$CD_STOPPED_COLUMN"
deckprobe keys q
program_wait_exit "$PROGRAM_PID" 10 || e2e_not_ok "code page 1252: 終了(&Q) ends the program"
e2e_end
