#!/usr/bin/env bash
# The program meets a display that closes its first connection just after taking it: the first
# write on that connection fails, and the program must try again and show the launcher rather
# than be ended by SIGPIPE. strace holds the program's first write back long enough for the
# connection to be closed under it.
#
#   bash tests/e2e/dropped_connection_test.sh <path-to-metaballs>   (repository root, DISPLAY set)
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
dropping_display=${DROPPING_DISPLAY:?the path of the dropping_display helper}
scratch=$(mktemp -d)

# A display of its own, without access control, for the relay to pass connections to.
coproc REAL { exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null; }
read -r real <&"${REAL[0]}" || fail "the display did not start"
relay_pid=
number=
end_run() {
    if [ -n "$program_pid" ]; then
        pkill -9 -P "$program_pid" 2>/dev/null || true
        cleanup_e2e
        program_pid=
    fi
    if [ -n "$relay_pid" ]; then
        kill "$relay_pid" 2>/dev/null || true
        rm -f "/tmp/.X11-unix/X$number"
    fi
}
trap 'end_run; kill $REAL_PID 2>/dev/null || true; rm -rf "$scratch"' EXIT

echo "== the first connection closed under the program's first write"
# A loaded machine may be slow to close the connection, and the write then goes through before;
# the program has to cope with that too, but the case asked for is tried again.
for _ in 1 2 3; do
    coproc RELAY { exec "$dropping_display" "$real"; }
    relay_pid=$RELAY_PID
    read -r number <&"${RELAY[0]}" || fail "the dropping display did not start"
    DISPLAY=:$number strace -f -qq -o "$scratch/writes" -e trace=writev \
        -e inject=writev:delay_enter=1000000:when=1 "$program" 2>/dev/null &
    program_pid=$!
    DISPLAY=:$real wait_for_window Splash >/dev/null || fail "the launcher window did not appear"
    end_run
    if grep -q "EPIPE" "$scratch/writes"; then
        echo "PASS"
        exit 0
    fi
done
fail "the first connection was never closed under a write"
