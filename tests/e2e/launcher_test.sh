#!/usr/bin/env bash
# The launcher driven like a user in the virtual display: pick 640 x 480 and start, check the GL
# window's size, leave with Escape; then start where there is no splash.cfg and check that the
# program fails with status 1 without showing any window.
#
#   bash tests/e2e/launcher_test.sh <path-to-metaballs>   (run in the repository root, DISPLAY set)
set -euo pipefail

program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
scratch=$(mktemp -d)
watcher_pid=
cleanup() {
    cleanup_e2e
    if [ -n "$watcher_pid" ]; then
        kill "$watcher_pid" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

echo "== choose 640 x 480, start, Escape"
start_program
splash=$(wait_for_window Splash) || fail "the launcher window did not appear"
click_button "$splash" 0
click_button "$splash" 7
gl=$(wait_for_window "VARKO OpenGL Example") || fail "the GL window did not appear"
geometry=$(xdotool getwindowgeometry "$gl" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || fail "the GL window is $geometry, not 640x480"
if xdotool search --onlyvisible --name '^Splash$' >/dev/null 2>&1; then
    fail "the launcher window is still shown"
fi
xdotool windowfocus --sync "$gl"
hold_key_until_exit Escape || fail "Escape did not end the program"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after Escape, expected 0"

echo "== no splash.cfg"
# Every top-level window created on the display is reported by the watcher.
xev -root -event substructure >"$scratch/events" 2>&1 &
watcher_pid=$!
sleep 0.5
mkdir "$scratch/empty"
status=0
(cd "$scratch/empty" && timeout 20 "$program") || status=$?
[ "$status" -eq 1 ] || fail "exit status $status without splash.cfg, expected 1"
sleep 0.5
if grep -q -e CreateNotify -e MapNotify "$scratch/events"; then
    fail "a window appeared although the launcher failed"
fi

echo "PASS"
