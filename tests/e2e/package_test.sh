#!/usr/bin/env bash
# The demo as users get it. First `cmake --install` into a scratch prefix: the wrapper in bin/
# runs the program in its data directory wherever it is started from. Then the Debian package:
# its name and dependencies, apt installs it, and the program started through the desktop
# entry's Exec line shows the launcher, draws frames after Start and leaves with Escape; without a
# display it ends with status 1 instead of waiting for a click on a window nobody sees. The
# package is removed again afterwards unless it was installed before. Needs root (or sudo) for apt.
#
#   bash tests/e2e/package_test.sh <build-dir>   (repository root, DISPLAY set)
set -euo pipefail
build=$(realpath "$1")
program=
source "$(dirname "$0")/e2e_lib.sh"
scratch=$(mktemp -d)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo -n)
installed_before=0
if dpkg-query -W -f='${Status}' metaballs 2>/dev/null | grep -q "install ok installed"; then
    installed_before=1
fi
cleanup() {
    cleanup_e2e
    if [ "$installed_before" -eq 0 ]; then
        "${sudo_cmd[@]}" dpkg -r metaballs >/dev/null 2>&1 || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# Runs the command line $1 from the root directory (not a run directory) like a desktop would,
# presses Start, checks that the frame shows a lit surface and leaves with Escape.
run_demo() {
    printf '#!/bin/sh\ncd / && exec %s\n' "$1" >"$scratch/launch"
    chmod +x "$scratch/launch"
    program=$scratch/launch
    start_demo "$scratch/messages"
    sleep 1
    import -window "$gl" "$scratch/shot.png"
    local bright
    bright=$(convert "$scratch/shot.png" -colorspace Gray -threshold 80% -format '%[fx:mean]' info:)
    awk -v b="$bright" 'BEGIN { exit !(b > 0.002) }' || fail "no lit surface in the frame ($bright)"
    xdotool windowfocus --sync "$gl"
    hold_key_until_exit Escape || fail "Escape did not end the program"
    [ "$exit_status" -eq 0 ] || fail "exit status $exit_status after Escape, expected 0"
}

echo "== cmake --install into a scratch prefix"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
run_demo "$scratch/prefix/bin/metaballs"

echo "== the package and what it depends on"
rm -f "$build"/metaballs_*.deb
cmake --build "$build" --target package >/dev/null
debs=("$build"/metaballs_*.deb)
[ ${#debs[@]} -eq 1 ] && [[ "$(basename "${debs[0]}")" =~ ^metaballs_[0-9.]+_amd64\.deb$ ]] ||
    fail "expected one metaballs_<version>_amd64.deb, found: ${debs[*]}"
deb=${debs[0]}
depends=$(dpkg-deb -f "$deb" Depends | tr -d ' ' | tr ',|' '\n\n' | sed 's/(.*//')
# Loaded at run time rather than linked: the GL library and driver, and the fonts.
needed=(libgl1 libglx-mesa0 libgl1-mesa-dri xfonts-base fonts-dejavu-core)
# ... and the package of every library the program links.
dpkg-deb -x "$deb" "$scratch/root"
for soname in $(readelf -d "$scratch/root/usr/libexec/metaballs/metaballs" |
    sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    owner=$(dpkg -S "*x86_64-linux-gnu/$soname" 2>/dev/null || true)
    needed+=("${owner%%:*}")
done
for package in "${needed[@]}"; do
    grep -qx "$package" <<<"$depends" || fail "the package does not depend on $package"
done

echo "== apt installs it; the desktop entry starts it"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install \
    -y -qq --reinstall "$deb" >/dev/null 2>&1 || fail "apt could not install $deb"
entry=/usr/share/applications/metaballs.desktop
desktop-file-validate "$entry" || fail "the desktop entry is not valid"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "/usr/share/icons/hicolor/256x256/apps/$icon.png" ] || fail "no icon named $icon"
# Field codes (%f, %u, ...) stand for files handed over by the desktop; there are none here.
exec_line=$(sed -n 's/^Exec=//p' "$entry" | sed 's/ *%[a-zA-Z]//g')
run_demo "$exec_line"

echo "== without a display the launcher fails at once"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY timeout 30 sh -c "exec $exec_line" 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "exit status $status without a display, expected 1"
echo "PASS"
