# shellcheck shell=bash
# The end-to-end tests' frame: a private display and Wine prefix with one simulated unit at
# its factory state, torn down when the script exits, and TAP-like reporting ("ok - ...",
# "not ok - ...", "# ..." diagnostics). Source it, call e2e_begin NAME BUILD_DIR, then drive
# the program with the functions of session.sh and report with the functions below. The
# program is BUILD_DIR's; the simulated unit comes from DECKHAND_SIM_BUILD and deckprobe from
# DECKHAND_TESTS_BUILD, both BUILD_DIR by default (the i686 program's runs take them from the
# win64 and win32-tests builds):
#
#   e2e_ok DESCRIPTION / e2e_not_ok DESCRIPTION [DETAIL...] / e2e_note TEXT
#   e2e_check DESCRIPTION EXPECTED ACTUAL
#   e2e_tooltip DESCRIPTION TEXT [SECONDS]   the tray icon's tooltip becomes TEXT
#   e2e_least_gap DESCRIPTION MS GAPS   GAPS (lines of unit_gaps) hold a gap, none below MS
#   e2e_osd_after DESCRIPTION TEXT ACTION...  deckprobe's hotkey, click or dblclick ACTION, then
#                                       the on-screen display shows TEXT within 3 s (seen by
#                                       the same process: it fades within two seconds)
#   e2e_bail DESCRIPTION [DETAIL...]    a failure that makes the rest meaningless
#   e2e_between_refreshes STEP [ARGS...] runs STEP, a function that acts and checks a picture
#                                       that only lasts until the next periodic refresh; its
#                                       checks count only from an attempt that no refresh cut
#                                       into (STEP sets up the unit state it needs itself, since
#                                       it may run again)
#   e2e_end                             the summary line; exits non-zero after any failure
# A script's e2e_prefix_setup, if defined, runs in the prefix before its server starts.

E2E_LIB_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../../../scripts/lib/wine.sh
source "$E2E_LIB_DIR/../../../scripts/lib/wine.sh"
# shellcheck source=session.sh
source "$E2E_LIB_DIR/session.sh"

# The end-to-end tests' share of X display numbers; other test runs use the ones above.
export DECKHAND_XVFB_FIRST="${DECKHAND_XVFB_FIRST:-80}" DECKHAND_XVFB_LAST="${DECKHAND_XVFB_LAST:-89}"

E2E_PASSED=0
E2E_FAILED=0

# While a step of e2e_between_refreshes runs, results are held back until it is known whether
# they count.
E2E_HOLD=0
E2E_HELD=()

e2e_ok() {
    if [ "$E2E_HOLD" = 1 ]; then
        E2E_HELD+=("ok - $*")
        return
    fi
    echo "ok - $*"
    E2E_PASSED=$((E2E_PASSED + 1))
}

e2e_not_ok() {
    local text="not ok - $1" line
    shift
    for line in "$@"; do
        text+=$'\n'"# $line"
    done
    if [ "$E2E_HOLD" = 1 ]; then
        E2E_HELD+=("$text")
        return
    fi
    echo "$text"
    E2E_FAILED=$((E2E_FAILED + 1))
}

e2e_between_refreshes() {
    local attempt attempts=4 refreshes result
    for ((attempt = 1; attempt <= attempts; attempt++)); do
        refresh_quiet_period || e2e_note "$1: no periodic refresh seen before the step"
        E2E_HELD=()
        E2E_HOLD=1
        "$@"
        E2E_HOLD=0
        refreshes="$(unit_refreshes)"
        [ "$refreshes" = 0 ] && break
        [ "$attempt" -lt "$attempts" ] &&
            e2e_note "$1: a periodic refresh came during the step; it runs again (attempt $attempt)"
    done
    [ "$refreshes" = 0 ] ||
        e2e_note "$1: every attempt met a periodic refresh; the last one's results stand"
    for result in "${E2E_HELD[@]}"; do
        case "$result" in
        "ok - "*) e2e_ok "${result#ok - }" ;;
        *)
            echo "$result"
            E2E_FAILED=$((E2E_FAILED + 1))
            ;;
        esac
    done
    E2E_HELD=()
}

e2e_note() {
    echo "# $*"
}

e2e_check() {
    if [ "$2" = "$3" ]; then
        e2e_ok "$1"
    else
        e2e_not_ok "$1" "expected: $2" "actual:   $3"
    fi
}

# e2e_tooltip DESCRIPTION TEXT [SECONDS]
e2e_tooltip() {
    if tray_wait_tooltip "$2" "${3:-$REFRESH_WAIT}"; then
        e2e_ok "$1"
    else
        e2e_not_ok "$1" "expected: $2" "actual:   $TRAY_TOOLTIP"
    fi
}

# The unit's log counts whole milliseconds: callers allow one below the wait they check.
e2e_least_gap() {
    local least count
    least="$(sort -n <<<"$3" | head -n 1)"
    count="$(grep -c . <<<"$3")"
    if [ -n "$least" ] && [ "$least" -ge "$2" ]; then
        e2e_ok "$1 ($least ms$([ "$count" = 1 ] || echo ", the least of $count"))"
    else
        e2e_not_ok "$1" "at least $2 ms; the gaps: $(paste -sd' ' <<<"$3")"
    fi
}

e2e_osd_after() {
    local description="$1" text="$2" drawn
    shift 2
    if drawn="$(deckprobe display "$@" "$text")"; then
        e2e_ok "$description ($drawn)"
    else
        e2e_not_ok "$description" "$drawn"
    fi
}

e2e_end() {
    e2e_note "$E2E_NAME: $E2E_PASSED passed, $E2E_FAILED failed in ${SECONDS}s"
    [ "$E2E_FAILED" -eq 0 ]
    exit
}

e2e_bail() {
    e2e_not_ok "$@"
    e2e_end
}

# A prefix takes some 700 MB; it is kept for a look only when something failed.
_e2e_cleanup() {
    session_stop
    deckhand_xvfb_stop
    if [ "$E2E_FAILED" -eq 0 ] && [ -n "${E2E_PREFIX:-}" ]; then
        rm -rf "$E2E_PREFIX"
    fi
}

e2e_begin() {
    E2E_NAME="$1"
    local build_dir="$2"
    SECONDS=0
    trap _e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    [ -d "$build_dir" ] || e2e_bail "$E2E_NAME: set-up" "no build directory $build_dir"
    build_dir="$(cd "$build_dir" && pwd)"
    local work="$build_dir/e2e-work/$E2E_NAME"
    rm -rf "$work"
    mkdir -p "$build_dir/e2e-work"
    rm -f "$build_dir/e2e-shots/$E2E_NAME"-*.png
    session_init "$build_dir" "$work" "$build_dir/e2e-shots" "$E2E_NAME" 2>"$work.err" ||
        e2e_bail "$E2E_NAME: set-up" "$(cat "$work.err")"
    rm -f "$work.err"
    deckhand_xvfb_start || e2e_bail "$E2E_NAME: set-up" "no X display"
    E2E_PREFIX="$build_dir/wine-e2e-$E2E_NAME"
    deckhand_prefix_prepare "$E2E_PREFIX" "${DECKHAND_SIM_BUILD:-$build_dir}" 1 ||
        e2e_bail "$E2E_NAME: set-up" "could not prepare the Wine prefix"
    if declare -F e2e_prefix_setup >/dev/null; then
        e2e_prefix_setup || e2e_bail "$E2E_NAME: set-up" "e2e_prefix_setup failed"
    fi
    deckhand_prefix_start || e2e_bail "$E2E_NAME: set-up" "the simulated unit did not start"
    if ! { unitsim reset >/dev/null && unitsim log --clear >/dev/null; }; then
        e2e_bail "$E2E_NAME: set-up" "unitsim reset failed"
    fi
    e2e_note "$E2E_NAME: display $DISPLAY, prefix $WINEPREFIX, ready after ${SECONDS}s"
}
