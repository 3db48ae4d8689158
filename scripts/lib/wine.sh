# shellcheck shell=bash
# Wine prefixes with the simulated Norvik unit, for the Windows-side tests and the demos.
# Source this file; it defines functions only.
#
#   deckhand_wine_env PREFIX_DIR
#       Exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES, LANG/LC_ALL (ja_JP.UTF-8), WINE and
#       WINESERVER for that prefix, and ALSA_CONFIG_PATH for a silent sound device.
#   deckhand_prefix_prepare PREFIX_DIR BUILD_DIR INSTANCES
#       Makes PREFIX_DIR a fresh prefix with INSTANCES simulated units installed, restored from
#       a pristine copy cached in build/wine-cache/ (made on first use), then puts BUILD_DIR's
#       norviksim.sys into it. Also calls deckhand_wine_env and exports DECKHAND_SIM_BUILD_DIR
#       and DECKHAND_UNITSIM (the unitsim.exe to drive the units with).
#   deckhand_prefix_user_value KEY NAME VALUE
#       Sets value NAME under HKEY_CURRENT_USER\KEY in $WINEPREFIX's user.reg while its server
#       is stopped, so that every program of the prefix sees it from the start (the system DPI,
#       for one, is read once per process). VALUE as the file writes it: dword:00000090.
#   deckhand_prefix_start
#       Starts a persistent wineserver for $WINEPREFIX and waits until the simulated unit
#       answers (DECKHAND_PREFIX_START_TIMEOUT seconds, default 30); when it does not, once
#       more with a new server, for twice as long.
#   deckhand_prefix_stop
#       Ends $WINEPREFIX's wineserver and every Wine process of that prefix, and waits for them.
#   deckhand_xvfb_start / deckhand_xvfb_stop
#       A private Xvfb on the first free display from DECKHAND_XVFB_FIRST (default 90) to
#       DECKHAND_XVFB_LAST (default 99); exports DISPLAY and DECKHAND_XVFB_PID. The screen is
#       DECKHAND_XVFB_SCREEN (default 800x600x24).
#
# All functions return non-zero with a message on stderr when they fail.

DECKHAND_SOURCE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# Bump when the way a pristine prefix is made changes, so that old cached copies are not used.
DECKHAND_PREFIX_RECIPE=1

_deckhand_fail() {
    echo "wine.sh: $*" >&2
    return 1
}

deckhand_wine_env() {
    local prefix="${1:?deckhand_wine_env PREFIX_DIR}"
    mkdir -p "$prefix" || return 1
    WINEPREFIX="$(cd "$prefix" && pwd)"
    export WINEPREFIX
    export WINEDEBUG=-all
    # No Mono or Gecko installer prompts, no menu entries written into the host's desktop.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # ANSI code page 932, so that the program's CP932 text is Japanese.
    export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
    # A machine without a sound card gives Wine no mixers at all; this silent device gives it
    # real ones for the program's volume snapshot.
    export ALSA_CONFIG_PATH="$DECKHAND_SOURCE_ROOT/scripts/lib/silent-sound.conf"
    # wine64 itself (/usr/bin/wine would prefer a 32-bit loader, which cannot run here), started
    # with a fixed address-space layout.
    export WINE="$DECKHAND_SOURCE_ROOT/scripts/lib/wine64"
    export WINESERVER=/usr/lib/wine/wineserver
}

# The server of one prefix is known by the prefix folder's device and inode: it works in a
# folder named server-DEV-INODE (under /tmp/wine-XXXXXX with Debian's Wine), and its process
# is wineserver64 there.
_deckhand_server_pid() {
    [ -d "$WINEPREFIX" ] || return 1
    local suffix pid
    suffix="$(printf '/server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")"
    for pid in $(pgrep -x 'wineserver(64)?'); do
        case "$(readlink "/proc/$pid/cwd" 2>/dev/null)" in
        *"$suffix") echo "$pid" && return 0 ;;
        esac
    done
    return 1
}

_deckhand_server_running() {
    _deckhand_server_pid >/dev/null
}

# Whether this system's Wine has its 32-bit side (the 32-bit loader beside wine64, as in the
# 32-bit environment of scripts/win32-env). A prefix made with it can run 32-bit programs; one
# made without it cannot (they fail with c0000135), so the two kinds are cached apart.
_deckhand_wine_sides() {
    if [ -x /usr/lib/wine/wine ]; then
        echo "64-bit and 32-bit"
    else
        echo "64-bit only"
    fi
}

_deckhand_cache_key() {
    local build_dir="$1" instances="$2" setup="$1/sim/install/simsetup.exe"
    [ -f "$setup" ] || _deckhand_fail "no $setup: build the win64 preset first" || return 1
    {
        echo "recipe $DECKHAND_PREFIX_RECIPE"
        echo "instances $instances"
        sha256sum <"$setup"
        "$WINE" --version
        _deckhand_wine_sides
    } | sha256sum | cut -c1-16
}

_deckhand_wait_server_gone() {
    local waited=0
    while _deckhand_server_running; do
        [ "$waited" -lt 300 ] || _deckhand_fail "wineserver of $WINEPREFIX did not stop" || return 1
        sleep 0.1
        waited=$((waited + 1))
    done
}

# Makes a pristine prefix with the service and device instances in $1, leaving its server
# stopped. Runs in a subshell so that the caller's environment is untouched.
_deckhand_make_pristine() (
    local dir="$1" build_dir="$2" instances="$3"
    deckhand_wine_env "$dir" || exit 1
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1 ||
        _deckhand_fail "wineboot -i failed in $dir" || exit 1
    local drivers="$WINEPREFIX/drive_c/windows/system32/drivers"
    cp "$build_dir/sim/driver/norviksim.sys" "$drivers/norviksim.sys" || exit 1
    "$WINE" "$build_dir/sim/install/simsetup.exe" install "$instances" </dev/null >/dev/null 2>&1 ||
        _deckhand_fail "simsetup install $instances failed" || exit 1
    "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    _deckhand_wait_server_gone
)

deckhand_prefix_prepare() {
    local prefix="${1:?deckhand_prefix_prepare PREFIX_DIR BUILD_DIR INSTANCES}"
    local build_dir="${2:?deckhand_prefix_prepare PREFIX_DIR BUILD_DIR INSTANCES}"
    local instances="${3:?deckhand_prefix_prepare PREFIX_DIR BUILD_DIR INSTANCES}"
    build_dir="$(cd "$build_dir" && pwd)" || return 1
    local driver="$build_dir/sim/driver/norviksim.sys"
    [ -f "$driver" ] || _deckhand_fail "no $driver: build the win64 preset first" || return 1
    deckhand_wine_env "$prefix" || return 1
    # A server left running from an earlier use would keep the old prefix's state.
    deckhand_prefix_stop || return 1

    local cache_dir="$DECKHAND_SOURCE_ROOT/build/wine-cache" key
    key="$(_deckhand_cache_key "$build_dir" "$instances")" || return 1
    # zstd restores the 700 MB prefix in about a second; gzip does when zstd is missing, slower.
    local compress=(gzip -1) decompress=(gzip -d -c) archive="$cache_dir/prefix-$key.tar.gz"
    if command -v zstd >/dev/null; then
        compress=(zstd -q -T0) decompress=(zstd -q -d -c) archive="$cache_dir/prefix-$key.tar.zst"
    fi
    mkdir -p "$cache_dir" || return 1
    (
        # One maker per key; the others wait here and then use its archive.
        flock 9
        if [ ! -f "$archive" ]; then
            rm -rf "$cache_dir/making-$key-"*
            local work="$cache_dir/making-$key-$$"
            _deckhand_make_pristine "$work" "$build_dir" "$instances" &&
                tar -C "$work" -cf - . | "${compress[@]}" >"$archive.part" &&
                mv "$archive.part" "$archive"
            local status=$?
            rm -rf "$work" "$archive.part"
            [ "$status" -eq 0 ] || _deckhand_fail "could not make a pristine prefix" || exit 1
        fi
    ) 9>"$cache_dir/prefix-$key.lock" || return 1

    # Use marks an archive as live; ones unused for a week (an old installer or Wine) go.
    touch "$archive"
    find "$cache_dir" -maxdepth 1 -name 'prefix-*' -mtime +7 -delete 2>/dev/null || true

    rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX" || return 1
    "${decompress[@]}" "$archive" | tar -C "$WINEPREFIX" -xf - ||
        _deckhand_fail "could not restore $archive" || return 1
    # Always the driver just built, whatever the cached prefix was made with.
    cp "$driver" "$WINEPREFIX/drive_c/windows/system32/drivers/norviksim.sys" || return 1
    export DECKHAND_SIM_BUILD_DIR="$build_dir"
    export DECKHAND_UNITSIM="$build_dir/sim/unitsim/unitsim.exe"
}

deckhand_prefix_user_value() {
    local file="$WINEPREFIX/user.reg"
    [ -f "$file" ] || _deckhand_fail "no $file" || return 1
    ! _deckhand_server_running ||
        _deckhand_fail "deckhand_prefix_user_value: the server of $WINEPREFIX runs" || return 1
    # Through the environment: awk -v would take the key's backslashes for escapes.
    KEY="[${1//\\/\\\\}]" ENTRY="\"$2\"=$3" NAME="\"$2\"=" awk '
        BEGIN { key = tolower(ENVIRON["KEY"]) }
        /^\[/ {
            header = tolower($0)
            inkey = index(header, key) == 1 && (length(header) == length(key) ||
                                                 substr(header, length(key) + 1, 1) == " ")
            print
            if (inkey) { print ENVIRON["ENTRY"]; found = 1 }
            next
        }
        inkey && index($0, ENVIRON["NAME"]) == 1 { next }
        { print }
        END { if (!found) { print ""; print ENVIRON["KEY"] " 0"; print ENVIRON["ENTRY"] } }
    ' "$file" >"$file.new" && mv "$file.new" "$file"
}

deckhand_prefix_start() {
    [ -n "${WINEPREFIX:-}" ] || _deckhand_fail "deckhand_prefix_start: no WINEPREFIX" || return 1
    : "${DECKHAND_UNITSIM:=$DECKHAND_SOURCE_ROOT/build/win64/sim/unitsim/unitsim.exe}"
    [ -f "$DECKHAND_UNITSIM" ] ||
        _deckhand_fail "deckhand_prefix_start: no $DECKHAND_UNITSIM (set DECKHAND_UNITSIM)" ||
        return 1
    # Now and then, with the machine busy, a freshly restored prefix's first boot never brings
    # the driver up: one more boot of a new server does. A boot that answers at all does so
    # within about 20 s on a busy machine, so the first wait is short and the second long.
    local timeout="${DECKHAND_PREFIX_START_TIMEOUT:-30}"
    _deckhand_server_answers "$timeout" && return 0
    echo "wine.sh: starting $WINEPREFIX once more" >&2
    deckhand_prefix_stop && _deckhand_server_answers $((2 * timeout))
}

# Starts the prefix's persistent server and waits up to $1 seconds for the simulated unit to answer.
_deckhand_server_answers() {
    # Detached from our output: a persistent server would otherwise hold a caller's pipe open.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1 ||
        _deckhand_fail "wineserver -p failed for $WINEPREFIX" || return 1
    local timeout="$1" start=$SECONDS
    # The first program boots the prefix; Wine then loads the driver of the root-enumerated
    # units by itself. unitsim info succeeds once the driver's control device answers.
    until "$WINE" "$DECKHAND_UNITSIM" info </dev/null >/dev/null 2>&1; do
        if [ $((SECONDS - start)) -ge "$timeout" ]; then
            _deckhand_fail "the simulated unit did not answer within ${timeout}s in $WINEPREFIX"
            return 1
        fi
        sleep 0.2
    done
}

deckhand_prefix_stop() {
    [ -n "${WINEPREFIX:-}" ] || _deckhand_fail "deckhand_prefix_stop: no WINEPREFIX" || return 1
    [ -d "$WINEPREFIX" ] || return 0
    _deckhand_server_running || return 0
    # Ends the server and with it every process of the prefix (winedevice.exe among them).
    "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    _deckhand_wait_server_gone
}

_deckhand_display_free() {
    local n="$1"
    [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]
}

deckhand_xvfb_start() {
    local first="${DECKHAND_XVFB_FIRST:-90}" last="${DECKHAND_XVFB_LAST:-99}"
    local screen="${DECKHAND_XVFB_SCREEN:-800x600x24}" n
    for ((n = first; n <= last; n++)); do
        _deckhand_display_free "$n" || continue
        Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
        local pid=$! waited=0
        # Another user of the same number may have won the race: then Xvfb exits, try the next.
        while kill -0 "$pid" 2>/dev/null && [ ! -S "/tmp/.X11-unix/X$n" ] && [ $waited -lt 100 ]; do
            sleep 0.05
            waited=$((waited + 1))
        done
        if kill -0 "$pid" 2>/dev/null && [ -S "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n" DECKHAND_XVFB_PID="$pid"
            return 0
        fi
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    _deckhand_fail "no free X display from :$first to :$last"
}

deckhand_xvfb_stop() {
    [ -n "${DECKHAND_XVFB_PID:-}" ] || return 0
    kill "$DECKHAND_XVFB_PID" 2>/dev/null || true
    wait "$DECKHAND_XVFB_PID" 2>/dev/null || true
    unset DECKHAND_XVFB_PID DISPLAY
}
