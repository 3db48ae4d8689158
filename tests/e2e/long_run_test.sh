#!/usr/bin/env bash
# A long run of the resident copy: refresh-timer messages, hotkeys, menu commands and volume steps
# on the on-screen display (which fades out before each sample), sent as fast as the program
# handles them, the taskbar's theme turning every hundred refreshes, with the program's handles,
# GDI and USER objects and private bytes and the driver's open handles sampled throughout. From
# the sample after a warm-up to the last, none may grow beyond a small stated tolerance.
# DECKHAND_LONG_RUN_CYCLES, DECKHAND_LONG_RUN_KEYS and DECKHAND_LONG_RUN_DISPLAYS set the counts
# (scripts/soak: 100,000, 10,000 and 10,000), DECKHAND_LONG_RUN_SAMPLES the number of samples.
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin long_run "${1:?usage: $0 BUILD_DIR}"

CYCLES="${DECKHAND_LONG_RUN_CYCLES:-1200}"
KEYS="${DECKHAND_LONG_RUN_KEYS:-108}"
DISPLAYS="${DECKHAND_LONG_RUN_DISPLAYS:-240}"
SAMPLES="${DECKHAND_LONG_RUN_SAMPLES:-3}"
# Flat: at most this many more handles (or GDI or USER objects) and this many more private bytes
# at the end than after the warm-up. One handle kept per refresh would add thousands.
OBJECT_SLACK=2
PRIVATE_SLACK=$((1024 * 1024))

REFRESH=0x113:0
# The five hotkeys, then every menu command but 終了 (40007): sources, mute, N.B., the tuner's,
# CD's, tape's and MD's keys, input level, numbered entries.
KEY_LIST=(0x312:1 0x312:2 0x312:10 0x312:11 0x312:12)
MENU_IDS=(40001 40002 40003 40004 40005 40006 40010 1026 1027 1028 1029 1040 1041 1042 1043 1044
    41101 41102 41103 41104 41105 41201 41202 41203 41204 41205 41301 41302 41002 41026 41100)
for id in "${MENU_IDS[@]}"; do
    KEY_LIST+=("0x111:$id")
done
# The volume step's timer messages, one up and one down: each step is shown on the display.
DISPLAY_LIST=(0x113:11 0x113:12)
cycles_per_sample=$(((CYCLES + SAMPLES - 1) / SAMPLES))
display_rounds=$(((DISPLAYS + SAMPLES * ${#DISPLAY_LIST[@]} - 1) / (SAMPLES * ${#DISPLAY_LIST[@]})))
key_rounds=$(((KEYS + SAMPLES * ${#KEY_LIST[@]} - 1) / (SAMPLES * ${#KEY_LIST[@]})))

# run_share: one sample's share of the work; false when the program did not take it.
run_share() {
    deckprobe send "$REFRESH" --rounds "$cycles_per_sample" --theme-every 100 >/dev/null &&
        deckprobe send "${KEY_LIST[@]}" --rounds "$key_rounds" >/dev/null &&
        deckprobe send "${DISPLAY_LIST[@]}" --rounds "$display_rounds" >/dev/null &&
        deckprobe display --gone --timeout 10000 >/dev/null
}

# sample N CYCLES KEYS: one row of the table, printed and kept in ROWS; the driver's handles are
# the moment no message is in hand (a leaked one stays), not a second reading that a periodic
# refresh may fall into.
ROWS=()
sample() {
    local usage driver
    usage="$(deckprobe usage)" || usage=
    unit_wait_no_handles "$REFRESH_WAIT"
    driver="$UNIT_OPEN_HANDLES"
    ROWS+=("$(printf '%6s %8s %6s %8s %5s %5s %12s %12s %7s %7s' "$1" "$2" "$3" \
        "$(usage_figure handles "$usage")" "$(usage_figure gdi "$usage")" \
        "$(usage_figure user "$usage")" "$(usage_figure private "$usage")" \
        "$(usage_figure workingset "$usage")" "$driver" "$SECONDS")")
    e2e_note "${ROWS[-1]}"
}
column() {
    awk -v n="$1" '{ print $n }' <<<"$2"
}

program_start
resident=$PROGRAM_PID
tray_wait_icon 101 30 start || e2e_bail "the resident copy shows its icon" "seen: $TRAY_ICON_SEEN"
# Warm-up: whatever the program or Wine sets up on first use is there before the first sample.
# Each menu entry sends a command, so the unit's log shows that the list reaches real handlers.
unitsim log --clear >/dev/null
deckprobe send "${KEY_LIST[@]}" >/dev/null || e2e_bail "the warm-up is handled"
sent="$(unit_commands | wc -l)"
if [ "$sent" -ge "${#MENU_IDS[@]}" ]; then
    e2e_ok "one round of the list sends the unit $sent commands (${#MENU_IDS[@]} menu entries)"
else
    e2e_not_ok "one round of the list sends the unit a command per menu entry" \
        "${#MENU_IDS[@]} menu entries, $sent commands: $(unit_commands | paste -sd' ')"
fi
# The hotkeys' commands come straight after each other: each is followed by the unit's 50 ms.
e2e_least_gap "the warm-up: 50 ms from each command to the next transfer" 49 \
    "$(unit_gaps 'write:.*' "$UNIT_TRANSFER")"
# Both of the taskbar's themes, so that both sets of pictures are loaded.
deckprobe send "$REFRESH" --rounds 100 --theme-every 50 >/dev/null || e2e_bail "the warm-up is handled"
deckprobe send "${DISPLAY_LIST[@]}" >/dev/null # its text stays when it has faded
e2e_check "a volume step shows on the display" "VOLUME $(unit_field volume)" "$(display_field text)"
deckprobe display --gone --timeout 10000 >/dev/null || e2e_bail "the display fades out"
e2e_note " sample   cycles   keys  handles   gdi  user      private   workingset  driver       s"
sample 0 0 0
cycles=0 keys=0 displays=0 taken=1
for ((n = 1; n <= SAMPLES; n++)); do
    if ! run_share; then
        taken=0
        break
    fi
    cycles=$((cycles + cycles_per_sample)) keys=$((keys + key_rounds * ${#KEY_LIST[@]}))
    displays=$((displays + display_rounds * ${#DISPLAY_LIST[@]}))
    sample "$n" "$cycles" "$keys"
done
if [ "$taken" = 1 ]; then
    e2e_ok "the copy handled $cycles refresh cycles, $keys hotkeys and menu commands and" \
        "$displays volume steps on the display"
else
    e2e_not_ok "the copy handled every message" "stopped in share $n of $SAMPLES"
fi

# flat NAME COLUMN SLACK: the least figure of the last three rows is at most SLACK above the
# first row's. A sample can fall into a periodic refresh, which holds handles for a moment; what
# leaked is there in every row after.
flat() {
    local from to end=$((${#ROWS[@]} > 4 ? ${#ROWS[@]} - 3 : 1))
    from="$(column "$2" "${ROWS[0]}")"
    to="$(printf '%s\n' "${ROWS[@]:end}" | awk -v n="$2" '
        $n == "-" { none = 1 } least == "" || $n < least { least = $n }
        END { print none ? "-" : least }')"
    if [ "$from" = - ] || [ "$to" = - ]; then
        e2e_note "$1: not given by this system (Wine does not implement GetGuiResources)"
    elif [ "$to" -le $((from + $3)) ] 2>/dev/null; then
        e2e_ok "$1 flat at the end: $from after the warm-up, $to at the end (+$3 allowed)"
    else
        e2e_not_ok "$1 flat at the end (+$3 allowed)" "after the warm-up: $from" "at the end: $to"
    fi
}
flat "the program's handles" 4 "$OBJECT_SLACK"
flat "the program's GDI objects" 5 "$OBJECT_SLACK"
flat "the program's USER objects" 6 "$OBJECT_SLACK"
flat "the program's private bytes" 7 "$PRIVATE_SLACK"
e2e_check "no handle to the unit stays open in any sample" "" \
    "$(for row in "${ROWS[@]}"; do column 9 "$row"; done | grep -vx 0 | paste -sd' ')"

program_run -S
program_wait_exit "$resident" 60
e2e_check "-S ends the copy after the long run: exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
