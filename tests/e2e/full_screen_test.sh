#!/usr/bin/env bash
# Full screen at the display's own size (1024 x 768 in the virtual display) opens at 16 and at
# 8 bits, although the display keeps its 24-bit depth: no offer of windowed mode, a window that
# covers the screen, and the program leaves with status 0 on Escape and on a close request.
# (A virtual framebuffer has one mode only; mode_restore_test.sh changes modes on X.Org.)
#
#   bash tests/e2e/full_screen_test.sh <path-to-metaballs>   (repository root, DISPLAY set)
set -euo pipefail
program=$(realpath "$1")
close_request=${CLOSE_REQUEST:?the path of the close_request helper}
source "$(dirname "$0")/e2e_lib.sh"
messages=$(mktemp)
trap 'cleanup_e2e; rm -f "$messages"' EXIT

# Starts the demo at 1024 x 768, full screen, with depth button $1 (3: 8 bits, 4: 16 bits).
start_full_screen() {
    start_program "$messages"
    local splash
    splash=$(wait_for_window Splash) || fail "the launcher window did not appear"
    for button in 2 "$1" 6 7; do
        click_button "$splash" "$button"
    done
    gl=$(wait_for_window "VARKO OpenGL Example") || fail "the full-screen window did not appear"
    local where
    where=$(xdotool getwindowgeometry "$gl" | tr -s ' \n' ' ')
    [[ "$where" == *"Position: 0,0 "*"Geometry: 1024x768"* ]] ||
        fail "the full-screen window does not cover the screen: $where"
    if grep -q "^\[VARKO GL\]" "$messages"; then
        fail "windowed mode was offered although the display has this size"
    fi
}

echo "== 16 bits, Escape"
start_full_screen 4
xdotool windowfocus --sync "$gl"
hold_key_until_exit Escape || fail "Escape did not end the program"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after Escape, expected 0"

echo "== 8 bits, close request"
start_full_screen 3
sleep 1
"$close_request" "$gl"
wait_for_exit || fail "the program did not end after the close request"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after the close request, expected 0"

echo "PASS"
