#!/usr/bin/env bash
# The Windows installer as a user meets it, under wine in a fresh prefix: installed without
# elevation, its automatic run, an upgrade by a newer package, and what uninstalling keeps.
# Usage: windows-installer.sh TALLOW.MSI TALLOW.EXE (the exe goes into the newer package)
set -uo pipefail
msi=$(realpath "$1")
exe=$(realpath "$2")
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
export WINEPREFIX="$work/prefix"
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
passed=0
failed=0
check() {
    if eval "$2"; then passed=$((passed + 1)); else echo "FAILED: $1"; failed=$((failed + 1)); fi
}
wine_run() { "$source/scripts/wine-run" "$@" >/dev/null 2>&1; }
products() {
    for root in HKCU HKLM; do
        WINEDEBUG=-all wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null
    done | tr -d '\r' | grep -E "^ +Display(Name|Version) +REG_SZ" | awk '{print $3}' | paste -sd' '
}

wine_run msiexec /i "$msi" /qn
user="$WINEPREFIX/drive_c/users/$(id -un)"
folder="$user/AppData/Local/Programs/Tallow"
kit="$user/Documents/Merrow/TallowKit"
check "installs Tallow.exe and the README in the user's programs folder" \
    '[ -f "$folder/Tallow.exe" ] && [ -f "$folder/README.md" ]'
check "adds the Start-menu entry" \
    '[ -f "$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tallow.lnk" ]'
check "creates the maker folder" '[ -d "$user/Documents/Merrow" ]'
check "lists Tallow 2.2.10 among the installed programs" '[[ "$(products)" == *"Tallow 2.2.10"* ]]'
wine_run msiexec /x "$msi" /qn
check "uninstalling removes the program" '[ ! -e "$folder/Tallow.exe" ] && [ -z "$(products)" ]'
check "uninstalling keeps the maker folder, empty as it is" '[ -d "$user/Documents/Merrow" ]'

wine_run msiexec /i "$msi" /qn
mkdir -p "$kit/AutoFile" "$kit/temp"
printf '1\r\n0' >"$kit/temp/Radix2A.tmp"
printf '5\r\n' >"$kit/AutoFile/Radix10Kan.tbin"
status=0
"$source/scripts/wine-run" "$folder/Tallow.exe" >/dev/null 2>&1 || status=$?
check "the installed program's automatic run converts (status $status)" \
    '[ "$status" = 0 ] && [ "$(cat "$kit/Result/Radix2Result.tbin")" = $'"'"'101\r'"'"' ]'

"$source/scripts/make-msi" "$work/newer.msi" 2.2.11 "$exe"
wine_run msiexec /i "$work/newer.msi" /qn
check "a newer package replaces the older one" '[ "$(products)" = "Tallow 2.2.11" ]'
wine_run msiexec /x "$work/newer.msi" /qn
check "uninstalling removes the program, its entry and its shortcut" \
    '[ ! -e "$folder" ] && [ -z "$(products)" ] &&
     [ ! -e "$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tallow.lnk" ]'
check "uninstalling keeps the working folders and their files" \
    '[ -f "$kit/Result/Radix2Result.tbin" ] && [ -d "$kit/AutoFile" ]'
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
