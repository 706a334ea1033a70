#!/usr/bin/env bash
# The program meets a display that closes a connection just after taking it: the first write on
# that connection fails, and the program must try again rather than be ended by SIGPIPE. First
# the program's own connection, then a message box's. strace holds each process's first write
# back long enough for the connection to be closed under it.
#
#   bash tests/e2e/dropped_connection_test.sh <path-to-metaballs>   (repository root, DISPLAY set)
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
dropping_display=${DROPPING_DISPLAY:?the path of the dropping_display helper}
scratch=$(mktemp -d)

# A display of its own, without access control, for the relay to pass connections to.
start_own_display
real=${DISPLAY#:}
relay_pid=
relay_number=
program_messages=$scratch/messages
end_run() {
    if [ -n "$program_pid" ]; then
        pkill -9 -P "$program_pid" 2>/dev/null || true
        cleanup_e2e
        program_pid=
    fi
    if [ -n "$relay_pid" ]; then
        kill "$relay_pid" 2>/dev/null || true
        rm -f "/tmp/.X11-unix/X$relay_number"
        relay_pid=
    fi
    # The display drops a killed program's windows only once the relay has passed the closed
    # connection on; the next run must not find the old launcher.
    for _ in $(seq 100); do
        xdotool search --name '^Splash$' >/dev/null 2>&1 || return 0
        sleep 0.1
    done
}
trap 'end_run; stop_own_display; rm -rf "$scratch"' EXIT

# Starts the program on a relay that closes the program's first connection.
start_through_relay() {
    exec {relay_output}< <(exec "$dropping_display" "$real")
    relay_pid=$!
    read -r relay_number <&"$relay_output" || fail "the dropping display did not start"
    DISPLAY=:$relay_number strace -f --seccomp-bpf -qq -o "$scratch/writes" -e trace=writev \
        -e inject=writev:delay_enter=1000000:when=1 "$program" 2>"$scratch/messages" &
    program_pid=$!
}

closed_writes() {
    grep -c "EPIPE" "$scratch/writes" || true
}

# A loaded machine may be slow to close a connection, and the write then goes through first: the
# program has to cope with that too, but each case is tried until it meets the closed connection.
echo "== the first connection closed under the program's first write"
for _ in 1 2 3; do
    start_through_relay
    wait_for_window Splash >/dev/null || fail "the launcher window did not appear"
    end_run
    [ "$(closed_writes)" -eq 0 ] || break
done
[ "$(closed_writes)" -ge 1 ] || fail "the first connection was never closed under a write"

echo "== a message box's connection closed under its first write"
# Without the pictures the GL window's set-up shows a message box.
cp splash.cfg launcher.bmp launcher_pressed.bmp "$scratch/"
cd "$scratch"
for _ in 1 2 3; do
    start_through_relay
    splash=$(wait_for_window Splash) || fail "the launcher window did not appear"
    kill -USR1 "$relay_pid"
    click_button "$splash" 7
    answer_message_box "LumoGL Example Error" Return
    end_run
    [ "$(closed_writes)" -lt 2 ] || break
done
[ "$(closed_writes)" -ge 2 ] || fail "the message box's connection was never closed under a write"
echo "PASS"
