#!/usr/bin/env bash
# The headless frame renderer, with no X display at all: the frame shows the lit surface in the
# middle, the backdrop around it and the statistics in the upper left; the same arguments give
# the same picture and another ball count another one; without data/ it fails with a message
# instead of waiting on a message box nobody can see.
#
#   bash tests/integration/render_frame_test.sh <path-to-render_frame>   (repository root)
set -euo pipefail
renderer=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
render() { env -u DISPLAY -u WAYLAND_DISPLAY "$renderer" "$@"; }
# Share of pixels brighter than 80 % and mean level (0-1) of region $2 of picture $1.
levels() {
    convert "$1" -crop "$2" -colorspace Gray \( +clone -threshold 80% \) \
        -format '%[fx:mean] ' info: | awk '{ print $2, $1 }'
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

render --time=4000 --balls=10 --size=640x480 "$scratch/ten.png"
[ "$(identify -format '%wx%h' "$scratch/ten.png")" = 640x480 ] || fail "wrong picture size"
read -r bright _ <<<"$(levels "$scratch/ten.png" 400x300+120+90)"
above "$bright" 0.002 || fail "no bright, lit surface in the middle (bright share $bright)"
read -r _ mean <<<"$(levels "$scratch/ten.png" 100x100+530+370)"
above "$mean" 0.02 || fail "no backdrop in the lower right corner (mean $mean)"
read -r bright _ <<<"$(levels "$scratch/ten.png" 160x50+10+45)"
above "$bright" 0.02 || fail "no statistics text in the upper left corner (bright share $bright)"

render --time=4000 --balls=10 --size=640x480 "$scratch/again.png"
cmp -s "$scratch/ten.png" "$scratch/again.png" || fail "the same frame came out differently"
render --time=4000 --balls=2 --size=640x480 "$scratch/two.png"
differing=$(compare -metric AE "$scratch/ten.png" "$scratch/two.png" null: 2>&1 || true)
above "$differing" 3000 || fail "two balls look like ten ($differing pixels differ)"

status=0
(cd "$scratch" && render "$scratch/none.png" 2>"$scratch/messages") || status=$?
[ "$status" -eq 1 ] || fail "exit status $status without data/, expected 1"
grep -q "Cannot load reflection texture." "$scratch/messages" || fail "the missing picture was not reported"
[ ! -e "$scratch/none.png" ] || fail "a picture was written although the scene failed"
echo "PASS"
