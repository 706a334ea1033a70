#!/usr/bin/env bash
# A long run of the real demo in the virtual display: random bursts of Up and Down throughout, with
# every GL error read after each frame and the resident memory every 100 frames (by gl_probe,
# preloaded). The scripted warm-up visits the largest window and both ends of the ball count and
# makes four window resizes, ending at the first size, so that every buffer the run needs has been
# made once; it ends at the first memory sample after the last resize, and from then on only the
# ball count changes: resident memory may not rise 1 MiB or more above the warm-up's peak. The only GL error allowed is the one GL_INVALID_VALUE of the first
# frame (the surface material's shininess of 312 is beyond GL's range of 0-128). Prints the
# figures.
#
#   bash tests/soak/soak.sh <metaballs> <gl_probe.so> [frames, default 2000] [record copy]
#   (repository root, DISPLAY set; the record of errors and memory is copied where the fourth
#   argument says)
set -euo pipefail
program=$(realpath "$1")
probe=$(realpath "$2")
frames=${3:-2000}
source "$(dirname "$0")/../e2e/e2e_lib.sh"
scratch=$(mktemp -d)
keep=${4:-}
record=$scratch/record
trap 'cleanup_e2e; [ -z "$keep" ] || cp "$record" "$keep"; rm -rf "$scratch"' EXIT

# glibc raises its mmap threshold each time a large mapped block is freed, and from then on serves
# blocks of that size (the GL driver's per-frame buffers) from the heap, whose top stays resident:
# resident memory steps up by a megabyte now and then without a leak. A fixed threshold keeps the
# allocator's policy still, so that what remains is what the program holds.
cat >"$scratch/metaballs" <<WRAP
#!/usr/bin/env bash
MALLOC_MMAP_THRESHOLD_=131072 LD_PRELOAD="$probe" VARKO_SOAK_LOG="$record" exec "$program"
WRAP
chmod +x "$scratch/metaballs"
program=$scratch/metaballs

frames_drawn() {
    awk '$3 == "rss" { last = $2 } END { print last + 0 }' "$record" 2>/dev/null || echo 0
}

# Holds key $1 for $2 seconds.
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

start_demo "$scratch/messages"
xdotool windowfocus --sync "$gl"
xdotool windowsize "$gl" 1000 700
hold Up 1.5
hold Down 1.5
xdotool windowsize "$gl" 800 600
hold Up 1
for size in "640 480" "1000 700" "320 240" "800 600"; do
    read -r width height <<<"$size"
    xdotool windowsize "$gl" "$width" "$height"
    hold Down 0.3
done
sleep 0.3
warmup=$((($(frames_drawn) / 100 + 1) * 100))
[ "$warmup" -le $((frames / 2)) ] || fail "the scripted warm-up took more than half the $frames frames"

while [ "$(frames_drawn)" -lt "$frames" ]; do
    kill -0 "$program_pid" 2>/dev/null || fail "the demo ended after $(frames_drawn) frames"
    keys=(Up Down)
    hold "${keys[$((RANDOM % 2))]}" "0.$((RANDOM % 4))$((RANDOM % 10))"
    sleep "0.$((RANDOM % 3))"
done
hold_key_until_exit Escape || fail "Escape did not end the demo"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status, expected 0"

read -r total warm_peak end peak <<<"$(awk -v w="$warmup" '$3 == "rss" {
        last = $2; rss = $4; end = rss
        if ($2 <= w && rss > warm) warm = rss
        if ($2 > w && rss > peak) peak = rss
    } END { print last, warm, end, peak }' "$record")"
errors=$(grep -c " error " "$record" || true)
growth=$((peak - warm_peak))
echo "frames: $total; resident memory: warm-up (to frame $warmup) peak $warm_peak KiB, later peak" \
    "$peak KiB (growth $growth KiB), at the end $end KiB; GL errors: $errors"
grep " error " "$record" | head -n 5
[ "$(grep " error " "$record")" = "frame 1 error 0x0501" ] ||
    fail "GL errors other than the set-up's one GL_INVALID_VALUE"
[ "$growth" -lt 1024 ] || fail "resident memory rose $growth KiB above the warm-up's peak"
echo "PASS"
