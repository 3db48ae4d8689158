#!/usr/bin/env bash
# Plain starts at the same moment: exactly one copy stays resident; every other one says that a
# copy is already resident (in either of the two wordings) and ends with exit code 1.
# DECKHAND_RACE_STARTS sets how many (scripts/soak: 20).
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin start_race "${1:?usage: $0 BUILD_DIR}"

STARTS="${DECKHAND_RACE_STARTS:-8}"
others=$((STARTS - 1))
# Some seconds for each start to come up on a busy machine; the waits end as soon as all did.
WAIT_MS=$((STARTS * 5000))

pids=()
for ((i = 0; i < STARTS; i++)); do
    program_start
    pids+=("$PROGRAM_PID")
done
boxes="$(deckprobe wait-box --count "$others" --timeout "$WAIT_MS")"
e2e_check "$others of $STARTS starts say a copy is already resident" \
    "$others" "$(grep -cxE '既に常駐しています(\(in background\))?' <<<"$boxes")"
e2e_note "their messages: $(sort <<<"$boxes" | uniq -c | paste -sd,)"

# The copies that showed a box end; the resident one stays.
deadline=$((SECONDS + WAIT_MS / 1000))
while :; do
    running=()
    for pid in "${pids[@]}"; do
        program_running "$pid" && running+=("$pid")
    done
    if [ "${#running[@]}" -le 1 ] || [ "$SECONDS" -ge "$deadline" ]; then
        break
    fi
    sleep 0.2
done
[ "${#running[@]}" = 1 ] || e2e_bail "exactly one copy is still running" "running: ${#running[@]}"
e2e_ok "exactly one copy is still running"
resident="${running[0]}"
codes=()
for pid in "${pids[@]}"; do
    [ "$pid" = "$resident" ] && continue
    program_wait_exit "$pid" 1
    codes+=("${PROGRAM_STATUS:-running}")
done
e2e_check "the $others others end with exit code 1" "$others" "$(printf '%s\n' "${codes[@]}" |
    grep -cx 1)"
if deckprobe window >/dev/null && tray_wait_icon 101 "$REFRESH_WAIT" resident; then
    e2e_ok "the resident copy has its window and shows the unit"
else
    e2e_not_ok "the resident copy has its window and shows the unit" "seen: $TRAY_ICON_SEEN"
fi
program_run -S
program_wait_exit "$resident" 30
e2e_check "-S ends the resident copy: exit code" 0 "${PROGRAM_STATUS:-still running}"
e2e_end
