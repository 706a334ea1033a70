#!/usr/bin/env bash
# Full screen at 800 x 600 on a display that only has 1024 x 768: the program offers windowed mode
# in a message box. Yes opens the demo windowed; No says "Program Will Now Close." and ends with 0.
#
#   bash tests/e2e/fullscreen_refused_test.sh <path-to-metaballs>   (repository root, DISPLAY set)
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
messages=$(mktemp)

start_full_screen() {
    start_program "$messages"
    local splash
    splash=$(wait_for_window Splash) || fail "the launcher window did not appear"
    click_button "$splash" 6
    click_button "$splash" 7
}

echo "== Yes: windowed instead"
start_full_screen
answer_message_box "VARKO GL" Return
gl=$(wait_for_window "VARKO OpenGL Example") || fail "no windowed GL window after Yes"
geometry=$(xdotool getwindowgeometry "$gl" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "800x600" ] || fail "the GL window is $geometry, not 800x600"
xdotool windowfocus --sync "$gl"
hold_key_until_exit Escape || fail "Escape did not end the program"
grep -q "^\[VARKO GL\] The Requested Fullscreen Mode Is Not Supported By$" "$messages" ||
    fail "the offer of windowed mode was not shown"

echo "== No: the program closes"
start_full_screen
answer_no "VARKO GL"
answer_message_box "ERROR" Return
wait_for_exit || fail "the program did not end after No"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after No, expected 0"
grep -q "^\[ERROR\] Program Will Now Close.$" "$messages" || fail "\"Program Will Now Close.\" was not shown"
if xdotool search --name '^VARKO OpenGL Example$' >/dev/null 2>&1; then
    fail "a GL window was opened after No"
fi
rm -f "$messages"
echo "PASS"
