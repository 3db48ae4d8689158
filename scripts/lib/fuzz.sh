# shellcheck shell=bash
# Running the libFuzzer targets of the fuzz preset; shared by scripts/fuzz and scripts/test.
# Source it, then:
#
#   FUZZ_TARGETS                          the targets; each seeds from tests/fuzz/TARGET/
#   fuzz_build LOG                        configures and builds the fuzz preset
#   fuzz_replay TARGET LOG                runs every seed of the target once; an input that
#                                         fails is kept beside LOG
#   fuzz_run TARGET SECONDS CORPUS FINDINGS LOG [OPTION...]
#                                         fuzzes for SECONDS from the seeds, adding what it
#                                         finds interesting to CORPUS (made if missing) and
#                                         writing a crashing input into FINDINGS; sets
#                                         FUZZ_EXECS, FUZZ_COV, FUZZ_FT and FUZZ_FINDING (the
#                                         crashing input's path, empty when none)
#
# Each returns non-zero on a finding or a failure, with the fuzzer's output in LOG.

FUZZ_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
FUZZ_TARGETS=(status options transfer sim_fields)
FUZZ_BUILD="$FUZZ_ROOT/build/fuzz/tests/fuzz"

fuzz_build() {
    (cd "$FUZZ_ROOT" && cmake --preset fuzz && cmake --build --preset fuzz) >"$1" 2>&1
}

fuzz_binary() {
    echo "$FUZZ_BUILD/$1_fuzz"
}

fuzz_replay() {
    local seeds="$FUZZ_ROOT/tests/fuzz/$1"
    [ -d "$seeds" ] || { echo "no seeds in $seeds" >"$2"; return 1; }
    # An input that fails is written beside the log, not into the current folder.
    "$(fuzz_binary "$1")" -runs=0 -artifact_prefix="$(dirname "$2")/$1-" "$seeds" >"$2" 2>&1
}

fuzz_run() {
    local target="$1" seconds="$2" corpus="$3" findings="$4" log="$5" status
    shift 5
    mkdir -p "$corpus" "$findings"
    # The first folder takes the new inputs; the seeds are only read.
    "$(fuzz_binary "$target")" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$@" "$corpus" "$FUZZ_ROOT/tests/fuzz/$target" \
        >"$log" 2>&1
    status=$?
    FUZZ_EXECS="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    FUZZ_COV="$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)"
    FUZZ_FT="$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)"
    FUZZ_FINDING="$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n 1)"
    if [ "$status" -ne 0 ] && [ -z "$FUZZ_FINDING" ]; then
        FUZZ_FINDING="(none written; exit code $status, see $log)"
    fi
    [ "$status" -eq 0 ]
}
