#!/usr/bin/env bash
# The installer of the build's architecture (win32 or win64), run silently as a deployment tool
# would: a per-user install with its Start-menu and logon entries and its entry in the installed
# programs; the program starts from both entries; an install over a running copy stops it
# first; a silent uninstall, with the program running, takes away everything the install added.
# Needs the packages (scripts/release, or the "package" target of the build).
set -uo pipefail
source "$(dirname "$0")/lib/e2e.sh"
e2e_begin installer "${1:?usage: $0 BUILD_DIR}"

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$SESSION_BUILD/CMakeCache.txt")"
package="$SESSION_BUILD/$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' \
    "$SESSION_BUILD/CPackConfig.cmake")"
[ -f "$package-setup.exe" ] && [ -f "$package.zip" ] ||
    e2e_bail "set-up" "no $package-setup.exe or .zip: make the packages (scripts/release)"

profile="$WINEPREFIX/drive_c/users/$(id -un)"
install_dir="$profile/AppData/Local/Programs/Norvik Deckhand"
programs="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
menu_entry="$programs/Norvik Deckhand.lnk"
logon_entry="$programs/StartUp/Norvik Deckhand.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\NorvikDeckhand'
# The installer waits up to 10 s for a stopped copy to end; the rest takes a few seconds.
installer_wait=60

# Everything in the user's profile but the temporary files, which Windows cleans up itself.
profile_files() {
    (cd "$profile" && find . -name Temp -prune -o -print) | sort
}

registry_value() {
    "$WINE" reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

# start_from_entry LINK DESCRIPTION: the program started as Explorer starts a shortcut,
# judged by the unit: powered on, by exactly one PowerOn.
start_from_entry() {
    unitsim set power=off >/dev/null
    unitsim log --clear >/dev/null
    "$WINE" start /unix "$1" >/dev/null 2>&1
    if unit_wait_field power on 30 && deckprobe window --wait 30000 >/dev/null; then
        e2e_check "$2: resident, the unit powered on once" PowerOn "$(unit_commands | paste -sd' ')"
    else
        e2e_not_ok "$2: resident, the unit powered on once" \
            "power: $(unit_field power)" "sent: $(unit_commands | paste -sd' ')"
    fi
}

before="$(profile_files)"
timeout "$installer_wait" "$WINE" "$package-setup.exe" /S
e2e_check "the silent install succeeds" 0 "$?"

# Exactly the zip's files in the install folder, plus the uninstaller and the two entries.
expected="$(
    {
        unzip -Z1 "$package.zip" | sed "s|^[^/]*/|./AppData/Local/Programs/Norvik Deckhand/|; s|/$||"
        echo "./AppData/Local/Programs"
        echo "./AppData/Local/Programs/Norvik Deckhand"
        echo "./AppData/Local/Programs/Norvik Deckhand/Uninstall.exe"
        echo "./AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Norvik Deckhand.lnk"
        echo "./AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Norvik Deckhand 説明書.lnk"
        echo "./AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp/Norvik Deckhand.lnk"
    } | sort
)"
added="$(comm -13 <(echo "$before") <(profile_files))"
e2e_check "the install adds the zip's files, the uninstaller, a Start-menu and a logon entry" \
    "$expected" "$added"
if unzip -p "$package.zip" "*/NorvikDeckhand.exe" | cmp -s - "$install_dir/NorvikDeckhand.exe"; then
    e2e_ok "the installed program is the one in the zip"
else
    e2e_not_ok "the installed program is the one in the zip"
fi

while IFS='|' read -r name value; do
    e2e_check "installed programs list it: $name" "$value" "$(registry_value "$name")"
done <<EOF_VALUES
DisplayName|Norvik Deckhand
DisplayVersion|$version
UninstallString|"C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Norvik Deckhand\\Uninstall.exe"
QuietUninstallString|"C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Norvik Deckhand\\Uninstall.exe" /S
EOF_VALUES

start_from_entry "$menu_entry" "started from the Start-menu entry"
timeout "$installer_wait" "$WINE" "$package-setup.exe" /S
e2e_check "an install over the running copy succeeds" 0 "$?"
if deckprobe window --gone 1000 >/dev/null; then
    e2e_ok "the install stopped the running copy first"
else
    e2e_not_ok "the install stopped the running copy first" "its window is still there"
fi
e2e_check "the install over it leaves the same files" "$expected" \
    "$(comm -13 <(echo "$before") <(profile_files))"

start_from_entry "$logon_entry" "started from the logon entry"
uninstaller="$install_dir/Uninstall.exe"
timeout "$installer_wait" "$WINE" "$uninstaller" /S
e2e_check "the silent uninstall starts" 0 "$?"
# The uninstaller works from a copy of itself in the temporary folder and returns at once; its
# last step takes the registry entry away.
deadline=$((SECONDS + installer_wait))
while [ -n "$(registry_value DisplayName)" ] && [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.5
done
e2e_check "the uninstall takes away everything the install added" "" \
    "$(diff <(echo "$before") <(profile_files))"
e2e_check "the uninstall takes the installed-programs entry away" "" "$(registry_value DisplayName)"
if deckprobe window --gone 1000 >/dev/null; then
    e2e_ok "the uninstall stopped the running copy"
else
    e2e_not_ok "the uninstall stopped the running copy" "its window is still there"
fi
e2e_end
