#!/usr/bin/env bash
# The frame loop driven like a user: the default mode opens 800 x 600 windowed, other keys do not
# end the run, Escape does with status 0, and so does a close request to the window.
#
#   bash tests/e2e/run_loop_test.sh <path-to-metaballs>   (repository root, DISPLAY set)
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
close_request=${CLOSE_REQUEST:?the path of the close_request helper}

echo "== default mode, other keys, then Escape"
start_demo
geometry=$(xdotool getwindowgeometry "$gl" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "800x600" ] || fail "the GL window is $geometry, not 800x600"
xdotool windowfocus --sync "$gl"
xdotool key Up Down space a
sleep 1
kill -0 "$program_pid" || fail "keys other than Escape ended the program"
hold_key_until_exit Escape || fail "Escape did not end the program"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after Escape, expected 0"

echo "== close request"
start_demo
sleep 1
retry_x "$close_request" "$gl"
wait_for_exit || fail "the close request did not end the program"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after the close request, expected 0"

echo "PASS"
