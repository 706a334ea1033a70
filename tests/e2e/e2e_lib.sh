# Shared by the end-to-end tests: start the program, find its windows, click like a person, and
# collect its exit status. Source it after setting program=<path-to-metaballs>.

# The X server now and then turns a new connection away while clients come and go quickly (about
# one in ten on a bare connect-and-close loop), or closes one it has just taken. A command that
# could not connect did nothing, so it is run again; any other failure is its own. SIGPIPE is
# ignored in the command, so that a connection closed under its first write fails like a refused
# one instead of ending it silently.
retry_x() {
    local errors status
    errors=$(mktemp)
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        status=0
        (trap '' PIPE && "$@") 2>"$errors" || status=$?
        if [ "$status" -eq 0 ] || ! grep -qiE "open (the )?display|open X server" "$errors"; then
            break
        fi
        sleep 0.1
    done
    cat "$errors" >&2
    rm -f "$errors"
    return "$status"
}
xdotool() { retry_x command xdotool "$@"; }
xwininfo() { retry_x command xwininfo "$@"; }
import() { retry_x command import "$@"; }

program_pid=
program_messages=/dev/null
cleanup_e2e() {
    if [ -n "$program_pid" ]; then
        kill -9 "$program_pid" 2>/dev/null || true
    fi
}
trap cleanup_e2e EXIT

# Starts an Xvfb of its own, with the extra server options given, and points DISPLAY at it. The
# server picks a free display itself and names it once it accepts connections. stop_own_display
# ends it; a test calls that from its exit handler.
own_display_pid=
start_own_display() {
    coproc OWN_DISPLAY {
        exec Xvfb -displayfd 1 "$@" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null
    }
    own_display_pid=$OWN_DISPLAY_PID
    local number
    read -r number <&"${OWN_DISPLAY[0]}" || fail "the test's own display did not start"
    export DISPLAY=:$number
}
stop_own_display() {
    [ -z "$own_display_pid" ] || kill "$own_display_pid" 2>/dev/null || true
}

# Ends the test, saying why and what the program said or how it ended.
fail() {
    echo "FAIL: $*" >&2
    if [ -n "$program_pid" ] && ! kill -0 "$program_pid" 2>/dev/null; then
        local status=0
        wait "$program_pid" || status=$?
        echo "(the program had ended with status $status)" >&2
    fi
    if [ -f "$program_messages" ]; then
        sed 's/^/program: /' "$program_messages" >&2
    fi
    exit 1
}

start_program() {
    # Without a display every window search would only time out, minutes later.
    [ -n "${DISPLAY:-}" ] ||
        fail "DISPLAY is not set: run the tests in a display (xvfb-run -a ctest ...)"
    program_messages=${1:-/dev/null}
    "$program" 2>"$program_messages" &
    program_pid=$!
}

# Prints the id of the visible window titled exactly $1, waiting up to 30 s for it (a loaded
# machine may take a while to start the program).
wait_for_window() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Waits up to $1 tenths of a second (default 200) for the program to end and leaves its exit
# status in exit_status (not in a subshell: only this shell can collect its child's status).
wait_for_exit() {
    for _ in $(seq "${1:-200}"); do
        if ! kill -0 "$program_pid" 2>/dev/null; then
            exit_status=0
            wait "$program_pid" || exit_status=$?
            program_pid=
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Centre of launcher button $1 (0-7) from the rectangles in splash.cfg: two paths, then left top
# right bottom per button.
button_centre() {
    local words
    read -r -a words <<<"$(tr -s '[:space:]' ' ' <splash.cfg)"
    local at=$((2 + 4 * $1))
    echo $(((words[at] + words[at + 2]) / 2)) $(((words[at + 1] + words[at + 3]) / 2))
}

# A press held like a person's: the launcher acts on a press it sees, then waits for the release.
click_button() {
    local x y
    read -r x y <<<"$(button_centre "$2")"
    xdotool mousemove --window "$1" "$x" "$y" mousedown 1
    sleep 0.2
    xdotool mouseup 1
    sleep 0.2
}

# Starts the program, presses Start in the launcher and leaves the GL window's id in gl. (Not in
# a subshell: the program must stay this shell's child.)
start_demo() {
    start_program "${1:-/dev/null}"
    local splash
    splash=$(wait_for_window Splash) || fail "the launcher window did not appear"
    click_button "$splash" 7
    gl=$(wait_for_window "VARKO OpenGL Example") || fail "the GL window did not appear"
}

# Holds key $1 down until the program ends (waiting up to $2 tenths of a second): input is polled
# once a frame, so a press and release between two frames would go unseen, as for any user.
hold_key_until_exit() {
    xdotool keydown "$1"
    local ended=0
    wait_for_exit "${2:-300}" || ended=1
    xdotool keyup "$1"
    return $ended
}

# Prints the id of the top-level window named exactly $1, waiting up to 15 s; unlike
# wait_for_window it also finds windows without class hints, such as message boxes.
wait_for_named_window() {
    local id
    for _ in $(seq 150); do
        # Windows may vanish while xwininfo lists them: a failed listing is simply tried again.
        id=$({ xwininfo -root -children 2>/dev/null || true; } |
            awk -v name="\"$1\":" 'index($0, name) { print $1; exit }')
        if [ -n "$id" ]; then
            printf '%d\n' "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Waits up to 5 s for window $1 to be mapped and viewable: Wine names its windows before it maps
# them, so a window found by name may not be on screen yet.
wait_until_viewable() {
    for _ in $(seq 50); do
        if { xwininfo -id "$1" 2>/dev/null || true; } | grep -q "IsViewable"; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Answers the message box titled $1 with key $2 (Return takes the default button; No is Escape,
# or the key in MESSAGE_BOX_NO_KEY where the system's boxes differ). The key is pressed until the
# box goes: a box still being shown may miss a press, and a box may close on the press before the
# release reaches it (Wine's do).
answer_message_box() {
    local box
    box=$(wait_for_named_window "$1") || fail "no message box titled \"$1\""
    for _ in $(seq 10); do
        xdotool mousemove --window "$box" 5 5 2>/dev/null || true
        xdotool windowfocus "$box" 2>/dev/null || true
        sleep 0.3
        xdotool key --window "$box" "$2" 2>/dev/null || true
        sleep 0.5
        # Gone, or the window (whose id the next box may take over) no longer has this title.
        if ! { xwininfo -id "$box" 2>/dev/null || true; } | grep -qF "\"$1\""; then
            # The release that a closed box never got, for the system's idea of the key's state.
            xdotool keyup "$2" 2>/dev/null || true
            return 0
        fi
    done
    fail "the message box titled \"$1\" did not take the key $2"
}

answer_no() {
    answer_message_box "$1" "${MESSAGE_BOX_NO_KEY:-Escape}"
}
