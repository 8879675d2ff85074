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
