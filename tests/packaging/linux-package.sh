#!/usr/bin/env bash
# The Debian package as a new user meets it: lintian finds no error in it, and its command, in a
# home folder without the maker folder, leaves the working folders in place before the window
# would open. Usage: linux-package.sh BUILD_FOLDER
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null 2>&1
package=$(ls "$work"/*.deb)
lintian --fail-on error --tag-display-limit 0 "$package" 2>&1 | grep -v 'root privileges' || true
lintian --fail-on error "$package" >/dev/null 2>&1
dpkg-deb -x "$package" "$work/root"
mkdir "$work/home"
status=0
env -i HOME="$work/home" "$work/root/usr/bin/Tallow" 2>/dev/null || status=$?
kit="$work/home/Documents/Merrow/TallowKit"
# Without a display the window cannot open: status 1, once the folders are made.
[ "$status" = 1 ] && [ -d "$kit/Result" ] && [ -d "$kit/temp" ]

# An automatic run that shows no box never loads the window toolkit; one whose boxes are allowed,
# with a display named (here one that is gone), hands over to the program, which does.
runs="$work/runs"
mkdir -p "$runs" "$kit/AutoFile"
run_automatic() {
    rm -f "$runs"/*
    printf '5\r\n' > "$kit/AutoFile/Radix10Kan.tbin"
    env -i HOME="$work/home" LD_DEBUG=libs LD_DEBUG_OUTPUT="$runs/ld" "$@" \
        "$work/root/usr/bin/Tallow" 2>/dev/null
}
run_automatic
[ "$(cat "$kit/Result/Radix2Result.tbin")" = $'101\r' ]
if grep -q 'libQt6' "$runs"/ld.*; then
    echo "an automatic run without boxes loaded Qt" >&2
    exit 1
fi
printf '1\r\n1' > "$kit/temp/Radix2A.tmp"
run_automatic DISPLAY=:4079
grep -q 'libQt6' "$runs"/ld.*
