#!/usr/bin/env bash
# The PC's power and session notifications, posted to the resident copy: suspend powers the unit
# off and shows it, resume powers it on, a session end powers it off unless the copy was started
# with -q, a cancelled one leaves it on; after a suspend the copy still ends with exit code 0.
# winmm, for the mixers, comes from the system folder, never from beside the program.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin power_events "${1:?usage: $0 BUILD_DIR}"

# The program runs from a folder that also holds a winmm.dll of the tests' own, as a Downloads
# folder may. Wine, told to take such a DLL before its own as Windows does with every DLL outside
# its KnownDLLs, would load it wherever the program asked for winmm by name.
planted="$SESSION_WORK/planted"
mkdir -p "$planted"
cp "$SESSION_EXE" "${DECKHAND_TESTS_BUILD:-$SESSION_BUILD}/tests/tools/planted_winmm/winmm.dll" \
    "$planted/"
SESSION_EXE="$planted/NorvikDeckhand.exe"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm=n,b"

POWER=0x218 SUSPEND=4 RESUME=7 SESSION_END=0x16
# Ctrl+Alt+Num6 always sends CdNext: posted after a message that must send nothing, it shows
# when the program has handled that message.
MARKER=(0x312 12)

# notify DESCRIPTION POWER COMMANDS ICON MESSAGE WPARAM...: with the unit's power at POWER,
# posts the messages in turn; the unit must get COMMANDS (the last one ends the wait) and the
# tray show ICON ("-": not looked at).
notify() {
    local name="$1" expected="$3" icon="$4" mark sent deadline=$((SECONDS + REFRESH_WAIT))
    unitsim set power="$2" >/dev/null
    mark="$(unit_log_mark)"
    shift 4
    while [ $# -ge 2 ] && deckprobe post "$1" "$2" 0 >/dev/null; do shift 2; done
    until sent="$(unit_commands "$mark" | paste -sd' ')" && [ "${sent##* }" = "${expected##* }" ] ||
        [ "$SECONDS" -ge "$deadline" ]; do
        sleep 0.2
    done
    e2e_check "$name: the unit gets $expected" "$expected" "$sent"
    if [ "$icon" = - ]; then
        return
    elif tray_wait_icon "$icon" "$REFRESH_WAIT" "$name"; then
        e2e_ok "$name: the tray shows icon $icon"
    else
        e2e_not_ok "$name: the tray shows icon $icon" "seen: $TRAY_ICON_SEEN"
    fi
}

# Wine logs every DLL that it loads into this copy.
WINEDEBUG=+loaddll program_start
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"
notify suspend on PowerOff 102 "$POWER" "$SUSPEND"
notify resume off PowerOn 101 "$POWER" "$RESUME"
loaded="$(sed -n 's/.*Loaded L"\(.*winmm\.dll\)".*/\1/Ip' "$SESSION_WORK/program.log")"
e2e_check "the suspend loads winmm from the system folder" 'C:\\windows\\system32\\winmm.dll' "$loaded"
e2e_check "the winmm.dll beside the program is never loaded" "" "$(find "$planted" -iname '*.loaded')"
notify "cancelled session end" on CdNext - "$SESSION_END" 0 "${MARKER[@]}"
# Wine's default handling of the message leaves the program running, as the checks below need.
notify "session end" on PowerOff - "$SESSION_END" 1
program_run -S
program_wait_exit "$PROGRAM_PID" 30
e2e_check "after a suspend, -S ends the copy: exit code" 0 "${PROGRAM_STATUS:-still running}"

# This copy finds no winmm at all: the unit still follows the PC, only the volumes are not kept.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm=d" program_start -s -q
deckprobe window --wait 30000 >/dev/null || e2e_bail "the copy started with -s -q is resident"
notify "session end, started with -q" on CdNext - "$SESSION_END" 1 "${MARKER[@]}"
notify "without winmm, suspend" on PowerOff - "$POWER" "$SUSPEND"
notify "without winmm, resume" off PowerOn - "$POWER" "$RESUME"
program_run -S
program_wait_exit "$PROGRAM_PID" 30
e2e_check "started with -q, -S ends the copy: exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
