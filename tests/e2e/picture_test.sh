#!/usr/bin/env bash
# What the user sees: the lit, reflective surface in the middle, the backdrop around it and the
# statistics in the upper left corner, when run from a folder whose name lies outside any single
# code page (Cyrillic and Japanese), with the statistics where they are on every build. Then, without the pictures in data/, the program says so
# in a message box, in front of its full-screen window, and ends with status 0; on a display
# that cannot show message boxes, it says so on standard error instead.
#
#   bash tests/e2e/picture_test.sh <path-to-metaballs>   (repository root, DISPLAY set)
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/e2e_lib.sh"
scratch=$(mktemp -d)
trap 'cleanup_e2e; rm -rf "$scratch"' EXIT

# Share of the pixels brighter than 80 % in a region WIDTHxHEIGHT+X+Y of the screenshot, and its
# mean level (0-1). Single stars of the backdrop are too small and dim to count as bright.
levels() {
    local bright mean
    bright=$(convert "$scratch/shot.png" -crop "$1" -colorspace Gray -threshold 80% \
        -format '%[fx:mean]' info:)
    mean=$(convert "$scratch/shot.png" -crop "$1" -colorspace Gray -format '%[fx:mean]' info:)
    echo "$bright $mean"
}

above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Empty when the screenshot shows all three, else what it lacks.
missing_from_shot() {
    local surface mean text
    import -window "$gl" "$scratch/shot.png"
    read -r surface _ <<<"$(levels 500x400+150+100)"
    read -r _ mean <<<"$(levels 120x120+660+460)"
    read -r text _ <<<"$(levels 200x60+10+50)"
    above "$surface" 0.002 || echo "no bright, lit surface in the middle (bright share $surface)"
    above "$mean" 0.02 || echo "no backdrop in the lower right corner (mean $mean)"
    above "$text" 0.02 || echo "no statistics text in the upper left corner (bright share $text)"
}

# The client area of the GL window as WIDTHxHEIGHT+X+Y within the window: under Wine, which draws
# frame and caption inside the X window, it is the window's one child (the GL surface); elsewhere
# the whole window.
client_area() {
    local child
    child=$(xwininfo -children -id "$gl" | awk '/^ +0x/ { print $(NF-1); exit }')
    if [ -n "$child" ]; then
        echo "$child"
    else
        xwininfo -id "$gl" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h "+0+0" }'
    fi
}

# The first line of the statistics sits 55 px below the top of a 600 px high client area, and as
# much lower or higher as the projection, which fills the client area, scales it.
check_statistics_place() {
    local width height x y top
    IFS='x+' read -r width height x y <<<"$(client_area)"
    top=$(convert "$scratch/shot.png" -crop "300x110+$x+$y" +repage -colorspace Gray \
        -threshold 80% -format '%@' info: | cut -d+ -f3)
    awk -v top="$top" -v height="$height" 'BEGIN { d = top - 55 * height / 600; exit !(d <= 2 && d >= -2) }' ||
        fail "the statistics start $top px below the top of the ${width}x$height client area"
}

echo "== the picture, run from a folder named in Cyrillic and Japanese"
# File names are UTF-8 bytes, which Wine reads as such in a UTF-8 locale.
export LC_ALL=C.UTF-8
run_dir="$scratch/Папка データ"
mkdir "$run_dir"
cp -r splash.cfg launcher.bmp launcher_pressed.bmp data "$run_dir/"
cd "$run_dir"
start_demo "$scratch/messages"
# The first frame sets the scene up, which a loaded machine or a sanitizer build takes a while
# for: screenshots are taken until one shows the whole picture.
for _ in $(seq 30); do
    sleep 1
    missing=$(missing_from_shot)
    [ -n "$missing" ] || break
done
[ -z "$missing" ] || fail "$missing"
check_statistics_place
xdotool windowfocus --sync "$gl"
hold_key_until_exit Escape || fail "Escape did not end the program"
cd - >/dev/null

echo "== no pictures, full screen: the message in front"
cp splash.cfg launcher.bmp launcher_pressed.bmp "$scratch/"
cd "$scratch"
start_program "$scratch/messages"
splash=$(wait_for_window Splash) || fail "the launcher window did not appear"
click_button "$splash" 2
click_button "$splash" 6
click_button "$splash" 7
box=$(wait_for_named_window "LumoGL Example Error") || fail "no message box"
wait_until_viewable "$box" || fail "the message box is not shown"
# What the screen shows where the box is must be the box itself. A box still being drawn or
# raised is given a few seconds.
read -r x y width height <<<"$(xwininfo -id "$box" |
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
         /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }')"
for _ in $(seq 10); do
    sleep 0.5
    import -window "$box" "$scratch/box.png"
    import -window root -crop "${width}x${height}+$x+$y" +repage "$scratch/under.png"
    differing=$(compare -metric AE "$scratch/box.png" "$scratch/under.png" null: 2>&1 || true)
    [ "$differing" = "0" ] && break
done
[ "$differing" = "0" ] || fail "the message box is hidden behind the full-screen window ($differing pixels differ)"
answer_message_box "LumoGL Example Error" Return
wait_for_exit || fail "the program did not end after the message"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status without the pictures, expected 0"
grep -q "^\[LumoGL Example Error\] Cannot load reflection texture.$" "$scratch/messages" ||
    fail "the missing reflection picture was not reported"

# Wine draws its message boxes itself, without the X server's fonts.
if [[ "$program" == *-under-wine ]]; then
    echo "PASS"
    exit 0
fi
echo "== no pictures, a display without the X core fonts: the message on standard error"
# Message boxes are drawn with the X server's core fonts; a server with its built-in cursor and
# fixed fonts only cannot show one, as on a desktop without the font package.
trap 'cleanup_e2e; stop_own_display; rm -rf "$scratch"' EXIT
start_own_display -fp built-ins
start_program "$scratch/messages"
splash=$(wait_for_window Splash) || fail "the launcher window did not appear"
click_button "$splash" 7
wait_for_exit || fail "the program did not end after the message it could not show"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status without the pictures, expected 0"
grep -q '^The system could not show the message box "LumoGL Example Error" .*Its text: Cannot load reflection texture.$' \
    "$scratch/messages" || fail "the unseen message box was not reported on standard error"
grep -q "^Answer taken: OK$" "$scratch/messages" || fail "the answer taken was not reported"
echo "PASS"
