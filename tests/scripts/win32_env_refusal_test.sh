#!/usr/bin/env bash
# scripts/win32-env makes or replaces a root only where it cannot harm: the folder that
# DECKHAND_WIN32_ROOT names, and the one beside it that a root is made in, must be absent, empty
# or stamped by scripts/win32-env. Each case, in a scratch folder of its own, runs
# make --dry-run, which decides as make does and needs no root, and, run as root, make itself
# where it must refuse; either leaves the case's folder as it was. Reports "ok - ..." and
# "not ok - ..." lines.
set -uo pipefail
env_script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/win32-env"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/win32-env-refusal.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failed=0
# Without the sbin folders (debootstrap, chroot), a make that did not refuse would fail before
# it removed or fetched anything; the folder's change would still show.
no_sbin=$(tr : '\n' <<<"$PATH" | grep -v sbin | paste -sd:)

stamp() { mkdir -p "$1/etc" && echo "recipe 1" >"$1/etc/norvik-deckhand-win32-env"; }
foreign() { mkdir -p "$1" && echo "not the environment's" >"$1/precious"; }

# refusal NAME SETTING STATUS TEXT [SETUP...]: SETUP run in the case's folder, then make with
# DECKHAND_WIN32_ROOT=SETTING (relative to that folder) ends with STATUS and says TEXT, in
# which @ stands for the case's folder.
refusal() {
  local name=$1 setting=$2 status=$3 dir="$scratch/$1" commands=("make --dry-run") command
  local text=${4//@/$scratch/$1} before output actual
  shift 4
  mkdir -p "$dir"
  [ $# -eq 0 ] || (cd "$dir" && "$@")
  [ "$status" = 0 ] || [ "$(id -u)" -ne 0 ] || commands+=(make)
  before=$(cd "$dir" && find . -exec stat -c '%n %s %Y' {} + | sort)
  for command in "${commands[@]}"; do
    # shellcheck disable=SC2086 # the command's words
    output=$(cd "$dir" && DECKHAND_WIN32_ROOT=$setting PATH=$no_sbin \
      bash "$env_script" $command 2>&1 </dev/null)
    actual=$?
    if [ "$actual" = "$status" ] && [[ "$output" == *"$text"* ]] &&
      [ "$before" = "$(cd "$dir" && find . -exec stat -c '%n %s %Y' {} + | sort)" ]; then
      echo "ok - $name: $command"
    else
      echo "not ok - $name: $command"
      echo "# expected status $status and \"$text\", folder untouched; got status $actual: $output"
      failed=$((failed + 1))
    fi
  done
}

refusal absent "$scratch/absent/root" 0 "make would make @/root, absent now"
refusal empty "$scratch/empty/root" 0 "make would make @/root, an empty folder now" mkdir root
refusal stamped "$scratch/stamped/root" 0 "make would check @/root (recipe 1" stamp root
refusal "not stamped" "$scratch/not stamped/root" 1 \
  "@/root holds files that scripts/win32-env did not make" foreign root
refusal "not stamped, named by the variable" "$scratch/not stamped, named by the variable/root" 1 \
  "comes from DECKHAND_WIN32_ROOT: point DECKHAND_WIN32_ROOT at" foreign root
refusal "a file" "$scratch/a file/root" 1 "@/root is not a folder" touch root
refusal "trailing slash, not stamped" "$scratch/trailing slash, not stamped/root/" 1 \
  "@/root holds files" foreign root
refusal "trailing slash, stamped" "$scratch/trailing slash, stamped/root//" 0 \
  "and make it again in @/root.making if" stamp root
refusal "relative path" "./root" 0 "make would make @/root, absent now"
refusal "not stamped beside a stamped root" "$scratch/not stamped beside a stamped root/root" 1 \
  "@/root.making holds files that scripts/win32-env did not make" \
  bash -c 'mkdir -p root/etc root.making && echo "recipe 1" >root/etc/norvik-deckhand-win32-env && touch root.making/x'

[ "$failed" -eq 0 ]
