# shellcheck shell=bash
# Driving NorvikDeckhand.exe and the simulated unit in a running Wine prefix, as a user would,
# and looking at the result in the tray: shared by the end-to-end tests and scripts/demo.
# Source it after scripts/lib/wine.sh has set up the prefix (WINE, DECKHAND_UNITSIM), then:
#
#   session_init BUILD_DIR WORK_DIR SHOT_DIR SHOT_PREFIX [SHOT_SCALE]
#                                          the program of BUILD_DIR; deckprobe for its
#                                          menu from DECKHAND_TESTS_BUILD, for all else
#                                          from DECKHAND_SIM_BUILD (both BUILD_DIR by
#                                          default)
#   unitsim ARGS / deckprobe ARGS          the unit's tool and the test helper, in the prefix
#   unit_field FIELD                       one field of "unitsim status"
#   unit_wait_field FIELD VALUE SECONDS    true once the unit reports it
#   unit_commands [MARK]                   the commands in the unit's log, one a line (after
#                                          the entry unit_log_mark gave)
#   unit_log_mark                          the last entry's sequence number in the unit's log
#   unit_events                            the unit's log in words: open, read, close, write:NAME
#   unit_gaps FROM TO [MARK]               the ms from each entry that FROM names to the next
#                                          one that TO names (after MARK), one a line; FROM and
#                                          TO are patterns over unit_events's words, in which
#                                          the refresh timer's status read is "tick";
#                                          UNIT_TRANSFER names every transfer
#   unit_wait_events WORDS SECONDS         true once unit_events holds WORDS in a row
#                                          (UNIT_EVENTS: what it held last, on one line)
#   program_start ARGS                     NorvikDeckhand.exe in the background (PROGRAM_PID)
#   program_run ARGS                       in the foreground; its exit code is returned
#   western COMMAND [ARGS]                 COMMAND (program_start, program_run) as on a Windows
#                                          whose ANSI code page is 1252, not 932
#   program_wait_exit PID SECONDS          its exit code in PROGRAM_STATUS
#   tray_wait_icon ID SECONDS NAME         the tray shows icon ID's TRAY_ICON_SIZE image (16
#                                          by default), pixel for pixel: its screen
#                                          position in TRAY_ICON_X/Y, the screenshot kept as
#                                          SHOT_DIR/SHOT_PREFIX-NAME.png (TRAY_KEPT_SHOT); on
#                                          failure TRAY_ICON_SEEN says what was there instead
#   tray_wait_no_icon SECONDS NAME         the tray shows none of the program's icons
#   tray_wait_tooltip TEXT SECONDS         the icon's tooltip is TEXT (a line break as \n);
#                                          TRAY_TOOLTIP holds the last one read
#   refresh_quiet_period                   the program's periodic refresh is seconds away
#   refresh_wait_next                      waits for the next periodic refresh
#   unit_refreshes [MARK]                  periodic refreshes in the unit's log (after MARK)
#   unit_wait_handled SECONDS [MARK]       the unit's log (after MARK) shows a status read and
#                                          every link closed again: the program has handled
#                                          what it got
#   menu_open                              right-clicks the icon found last and waits for the
#                                          popup; MENU_ENTRIES holds its "POPUP ID FLAGS TEXT"
#                                          lines (deckprobe menu list)
#   menu_open_submenu                      clicks the entry that opens the numbered submenu
#                                          and waits for it; MENU_ENTRIES lists both popups
#   menu_entries POPUP                     the entries of one popup of MENU_ENTRIES, without
#                                          the popup's number
#   volume_icon V                          the icon that volume V shows
#   unit_open_handles                      handles open on the simulated units, over all
#   unit_wait_no_handles SECONDS           true once no handle to a unit is open; the last
#                                          count read is in UNIT_OPEN_HANDLES
#   refresh_now                            the program refreshes at once, as on its timer
#   display_field FIELD                    one line of "deckprobe display" (the on-screen
#                                          display): shown, text, windows, rect, drawn, ...
#   usage_figure NAME LINE                 one figure of a "deckprobe usage" line ("-" when
#                                          the system does not give it)
#   program_least_handles                  the program's handles, the least of three samples
#   session_stop                           ends what was started

SESSION_LIB_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
TRAY_NAME="Wine System Tray"
TRAY_ICON_SIZE=16
PROGRAM_PIDS=()

session_init() {
    SESSION_BUILD="$(cd "$1" && pwd)" || return 1
    SESSION_WORK="$2"
    SESSION_SHOTS="$3"
    SESSION_SHOT_PREFIX="$4"
    SESSION_SHOT_SCALE="${5:-100}"
    SESSION_EXE="$SESSION_BUILD/app/NorvikDeckhand.exe"
    SESSION_PROBE="${DECKHAND_TESTS_BUILD:-$SESSION_BUILD}/tests/tools/deckprobe/deckprobe.exe"
    SESSION_SHELL_PROBE="${DECKHAND_SIM_BUILD:-$SESSION_BUILD}/tests/tools/deckprobe/deckprobe.exe"
    SESSION_ICONS="$SESSION_BUILD/res/icons"
    local file
    for file in "$SESSION_EXE" "$SESSION_PROBE" "$SESSION_SHELL_PROBE" \
        "$SESSION_ICONS/icon_101.ico"; do
        [ -f "$file" ] || { echo "missing $file: build its preset" >&2; return 1; }
    done
    mkdir -p "$SESSION_WORK" "$SESSION_SHOTS"
}

# Now and then (a few in a thousand runs, with the program resident) a Wine program ends with
# exit code 1 before printing anything. unitsim and deckprobe always explain their own failures,
# so such a run never got as far as its first step and is repeated. The note goes to
# SESSION_NOTES (default stderr), so that captured output stays clean.
run_explained() {
    local name="$1" out status attempt err="$SESSION_WORK/$1.err"
    shift
    for attempt in 1 2 3; do
        out="$("$WINE" "$@" 2>"$err")"
        status=$?
        if [ "$status" -ne 1 ] || [ -n "$out" ] || [ -s "$err" ]; then
            break
        fi
        echo "# $name ${*:2} ended silently with exit code 1 (attempt $attempt)" \
            >>"${SESSION_NOTES:-/dev/stderr}"
    done
    cat "$err" >&2
    [ -n "$out" ] && printf '%s\n' "$out" | tr -d '\r'
    return "$status"
}

unitsim() {
    run_explained unitsim "$DECKHAND_UNITSIM" "$@"
}

# A status beyond deckprobe's own 0 to 2 means that it broke down: said in the log. deckprobe
# reads the program's popup menu inside the program's process, through structures of that
# process's width; everything else, the tooltips read inside the 64-bit shell among it, takes
# the 64-bit deckprobe, also when the program is 32-bit: it runs natively there, where a 32-bit
# one runs under emulation, slowly, and costs a good share of a core while it waits.
deckprobe() {
    local probe="$SESSION_SHELL_PROBE"
    [ "$1" = menu ] && probe="$SESSION_PROBE"
    run_explained deckprobe "$probe" "$@"
    local status=$?
    [ "$status" -le 2 ] || echo "# deckprobe $1 ended with status $status" >&2
    return "$status"
}

unit_field() {
    unitsim status | sed -n "s/^$1: //p"
}

unit_wait_field() {
    local deadline=$((SECONDS + $3))
    while [ "$(unit_field "$1")" != "$2" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# The accepted command transfers in the unit's log, named as unitsim names them ("PowerOn",
# "SetVolume+31"); " ignored" follows a code the unit did not act on.
unit_commands() {
    unitsim log | awk -v mark="${1:-0}" '$1 > mark' |
        sed -n 's/.* write .*  \([^ ]*\) (0x[0-9A-F]*)\( ignored\)\{0,1\}$/\1\2/p'
}

# The sequence number of the last entry in the unit's log (0 when it is empty): a mark after
# which unit_commands and unit_wait_handled look.
unit_log_mark() {
    unitsim log | awk 'END { print $1 + 0 }'
}

unit_events() {
    unit_timed_events | cut -d' ' -f2
}

# "MS WORD" for each entry of the unit's log after MARK: the log's clock, then the word that
# unit_events gives.
unit_timed_events() {
    unitsim log | awk -v mark="${1:-0}" '
        $3 != "unit" || $1 <= mark { next }
        $5 == "write" { for (i = NF; i > 6; i--) if ($i ~ /^\(0x/) { print $2 + 0, "write:" $(i - 1); next } }
        { print $2 + 0, $5 }'
}

# Every transfer, as unit_gaps names them.
# shellcheck disable=SC2034 # read by the callers
UNIT_TRANSFER='write:.*|read|tick'

# The timer's message opens a link before its refresh opens another (see unit_refreshes), so
# its status read is the one that follows two opens: no other read of the program does (menu
# commands, clicks and the icon's add read after one open).
unit_gaps() {
    unit_timed_events "${3:-0}" | awk -v from="^($1)\$" -v to="^($2)\$" '
        { word = $2 == "read" && last == "open" && before == "open" ? "tick" : $2
          before = last
          last = $2 }
        waiting && word ~ to { print $1 - since; waiting = 0 }
        word ~ from { since = $1; waiting = 1 }'
}

unit_wait_events() {
    local deadline=$((SECONDS + $2))
    while :; do
        UNIT_EVENTS="$(unit_events | paste -sd' ')"
        [[ " $UNIT_EVENTS " == *" $1 "* ]] && return 0
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

program_start() {
    # shellcheck disable=SC2086 # the words western gives
    env ${SESSION_PROGRAM_ENV:-} "$WINE" "$SESSION_EXE" "$@" >>"$SESSION_WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
    PROGRAM_PIDS+=("$PROGRAM_PID")
}

program_run() {
    # shellcheck disable=SC2086 # the words western gives
    timeout 60 env ${SESSION_PROGRAM_ENV:-} "$WINE" "$SESSION_EXE" "$@" \
        >>"$SESSION_WORK/program.log" 2>&1
}

# Wine takes each process's code page from its locale: en_US.UTF-8 gives 1252 whether or not the
# machine has that locale generated. Set through env: bash itself would try to switch to it.
western() {
    SESSION_PROGRAM_ENV="LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8" "$@"
}

program_running() {
    kill -0 "$1" 2>/dev/null
}

program_wait_exit() {
    local pid="$1" deadline=$((SECONDS + $2))
    PROGRAM_STATUS=
    while program_running "$pid"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
    wait "$pid"
    # shellcheck disable=SC2034 # read by the callers
    PROGRAM_STATUS=$?
}

# The tray window's X id and position; false when it is not on screen. Wine hides it two
# seconds after its last icon goes, and shows the old picture until then.
tray_window() {
    local info
    info="$(xwininfo -name "$TRAY_NAME" 2>/dev/null)" || return 1
    grep -q 'Map State: IsViewable' <<<"$info" || return 1
    TRAY_ID="$(sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p' <<<"$info")"
    TRAY_X="$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")"
    TRAY_Y="$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")"
    [ -n "$TRAY_ID" ]
}

# By id and under a time limit: "import -window NAME" for a name that does not exist never
# returns, and keeps the X server grabbed meanwhile.
tray_shot() {
    tray_window || return 1
    timeout 10 import -window "$TRAY_ID" "png:$1" 2>/dev/null
}

# Every icon of the set that a screenshot shows: "ID X Y" lines. Wine's tray does not clear
# an icon's background before drawing a new picture, so the old picture shows through the
# transparent pixels of the new one and can match as well.
tray_icons_in() {
    python3 "$SESSION_LIB_DIR/icon_match.py" which "$1" "$SESSION_ICONS"/icon_*.ico \
        --size "$TRAY_ICON_SIZE"
}

tray_keep_shot() {
    TRAY_KEPT_SHOT="$SESSION_SHOTS/$SESSION_SHOT_PREFIX-$2.png"
    if [ "$SESSION_SHOT_SCALE" = 100 ]; then
        cp "$1" "$TRAY_KEPT_SHOT"
    else
        convert "$1" -scale "$SESSION_SHOT_SCALE%" "$TRAY_KEPT_SHOT"
    fi
}

tray_wait_icon() {
    local id="$1" deadline=$((SECONDS + $2)) name="$3" shot="$SESSION_WORK/tray.png" at
    TRAY_ICON_SEEN=
    rm -f "$shot"
    while :; do
        if tray_shot "$shot"; then
            if at="$(python3 "$SESSION_LIB_DIR/icon_match.py" find "$shot" \
                "$SESSION_ICONS/icon_$id.ico" --size "$TRAY_ICON_SIZE")"; then
                TRAY_ICON_X=$((TRAY_X + ${at% *}))
                TRAY_ICON_Y=$((TRAY_Y + ${at#* }))
                tray_keep_shot "$shot" "$name"
                return 0
            fi
            TRAY_ICON_SEEN=
        else
            TRAY_ICON_SEEN="no tray window"
        fi
        if [ "$SECONDS" -ge "$deadline" ]; then
            TRAY_KEPT_SHOT="(none)"
            if [ -z "$TRAY_ICON_SEEN" ]; then
                # Only now: looking for every icon of the set takes a while.
                TRAY_ICON_SEEN="$(tray_icons_in "$shot" | paste -sd,)"
                TRAY_ICON_SEEN="${TRAY_ICON_SEEN:-no icon of the set}"
            fi
            [ -f "$shot" ] && tray_keep_shot "$shot" "$name"
            return 1
        fi
        sleep 0.3
    done
}

tray_wait_no_icon() {
    local deadline=$((SECONDS + $1)) name="$2" shot="$SESSION_WORK/tray.png"
    TRAY_ICON_SEEN=
    while :; do
        if ! tray_shot "$shot"; then
            TRAY_ICON_SEEN="no tray window"
            return 0
        fi
        TRAY_ICON_SEEN="$(tray_icons_in "$shot" | paste -sd,)"
        if [ -z "$TRAY_ICON_SEEN" ] || [ "$SECONDS" -ge "$deadline" ]; then
            tray_keep_shot "$shot" "$name"
            [ -z "$TRAY_ICON_SEEN" ]
            return
        fi
        sleep 0.3
    done
}

# The icon's tooltip, read out of the shell; a line break in it is written \n.
tray_wait_tooltip() {
    local deadline=$((SECONDS + $2))
    while :; do
        TRAY_TOOLTIP="$(deckprobe tooltip 2>/dev/null | head -n 1)"
        [ "$TRAY_TOOLTIP" = "$1" ] && return 0
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# The middle of the icon found last, where a hand would point at it.
tray_icon_centre() {
    echo "$((TRAY_ICON_X + TRAY_ICON_SIZE / 2)) $((TRAY_ICON_Y + TRAY_ICON_SIZE / 2))"
}

# The icon that shows volume V (0..80): 10 for 0, 11 for 1 to 10, ... 18 for 71 to 80.
volume_icon() {
    echo $((10 + ($1 + 9) / 10))
}

# The names of the top-level X windows on screen, one a line.
shown_windows() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ { print $1 }'); do
        xwininfo -id "$id" 2>/dev/null | awk -F'"' '
            /^xwininfo: Window id:/ { name = NF > 1 ? $2 : "(no name)" }
            /Map State: IsViewable/ { print name }'
    done
}

# The program's periodic status refresh. Waits for something that a refresh brings allow two
# periods and some slack: bounds come from the program's own timing, and a wait that polls
# returns as soon as its condition holds.
REFRESH_PERIOD=5
REFRESH_WAIT=$((2 * REFRESH_PERIOD + 2))

# How many periodic refreshes the unit's log holds. The refresh timer's message opens a link of
# its own before the refresh opens another: the one place where two opens follow each other
# directly. (Hotkeys, gestures and menu commands open one link at a time.)
unit_refreshes() {
    unitsim log | awk -v mark="${1:-0}" '$1 > mark && $5 == "open" && prev == "open" { n++ }
        { prev = $5 } END { print n + 0 }'
}

# Waits until the unit's log shows a status read and as many closes as opens, that is until
# the program has handled a hotkey or message that reads the status; then "nothing was sent"
# can be judged from the log.
unit_wait_handled() {
    local deadline=$((SECONDS + $1))
    until unitsim log | awk -v mark="${2:-0}" '$1 <= mark { next }
            $5 == "read" { r++ } $5 == "open" { o++ } $5 == "close" { c++ }
            END { exit !(r > 0 && o == c) }'; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

unit_open_handles() {
    unitsim handles | sed -n 's/^total: \([0-9]*\) open$/\1/p'
}

# The program holds a handle only while it handles a message: polls for a moment when none is
# open, which a leak never gives.
unit_wait_no_handles() {
    local deadline=$((SECONDS + $1))
    until UNIT_OPEN_HANDLES="$(unit_open_handles)" && [ "$UNIT_OPEN_HANDLES" = 0 ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# The refresh timer's message (WM_TIMER with its id, 0), sent and handled now instead of
# within the next five seconds.
refresh_now() {
    deckprobe send 0x113:0 >/dev/null
}

display_field() {
    deckprobe display | sed -n "s/^$1 //p"
}

usage_figure() {
    awk -v name="$1" '{ for (i = 1; i < NF; i += 2) if ($i == name) print $(i + 1) }' <<<"$2"
}

# A sample can fall into a refresh, which holds handles for a moment; one a second apart
# from it cannot, unless the refresh hangs.
program_least_handles() {
    local n least='' figure
    for n in 1 2 3; do
        [ "$n" = 1 ] || sleep 1
        figure="$(usage_figure handles "$(deckprobe usage)")"
        if [[ "$figure" =~ ^[0-9]+$ ]] && { [ -z "$least" ] || [ "$figure" -lt "$least" ]; }; then
            least="$figure"
        fi
    done
    echo "${least:--}"
}

# Waits for the program's next periodic refresh (a status read in the unit's log) and clears
# the log.
refresh_wait_next() {
    local deadline=$((SECONDS + REFRESH_WAIT))
    unitsim log --clear >/dev/null
    until unitsim log | grep -q ' read '; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
    REFRESH_AT="$(date +%s%N)"
    unitsim log --clear >/dev/null
}

# Makes it likely that the next periodic refresh is some seconds away, waiting for one when the
# last one seen is not recent. Only saves repeats: a check of a transient picture must still
# find out from the log whether a refresh came (e2e_between_refreshes). Clears the unit's log.
refresh_quiet_period() {
    local since_ms=$((($(date +%s%N) - ${REFRESH_AT:-0}) / 1000000))
    if [ "$since_ms" -lt 2000 ]; then
        unitsim log --clear >/dev/null
        return 0
    fi
    refresh_wait_next
}

menu_open() {
    local x y
    read -r x y < <(tray_icon_centre)
    MENU_ENTRIES=
    deckprobe click "$x" "$y" right || return 1
    MENU_ENTRIES="$(deckprobe menu list)"
}

menu_open_submenu() {
    MENU_ENTRIES=
    deckprobe menu click sub || return 1
    MENU_ENTRIES="$(deckprobe menu list --popups 2)"
}

menu_entries() {
    sed -n "s/^$1 //p" <<<"$MENU_ENTRIES"
}

# Ends the copies that were started and every other Wine process of the prefix.
session_stop() {
    local pid
    for pid in "${PROGRAM_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    [ -n "${WINEPREFIX:-}" ] && deckhand_prefix_stop
    for pid in "${PROGRAM_PIDS[@]}"; do
        wait "$pid" 2>/dev/null
    done
    PROGRAM_PIDS=()
}
