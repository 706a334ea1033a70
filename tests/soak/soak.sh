#!/usr/bin/env bash
# A long run of the real demo in the virtual display: random bursts of Up and Down throughout, with
# every GL error read after each frame and, every 100 frames, the memory the allocator has handed
# out and not had back ("held") and the resident memory (by gl_probe, preloaded). The scripted
# warm-up visits the largest window and both ends of the ball count and makes four window resizes,
# ending at the first size, so that every buffer the run needs has been made once, then keeps the
# most balls until frame 1000; it ends at the first memory sample after that, and from then on only
# the ball count changes: what stays held may not rise 1 MiB or more over the run with at least
# 256 KiB of it in each half (over the default 2,000 frames, a leak of half a KiB a frame and
# more), nor resident memory 8 MiB above the warm-up's peak (a leak outside the allocator;
# resident memory alone also moves with what the allocator keeps for later). The only GL error
# allowed is the one GL_INVALID_VALUE of the first frame (the surface material's shininess of 312
# is beyond GL's range of 0-128). Prints the figures.
#
# Every step is counted in the frames the probe saw drawn, never in seconds: a key is held for so
# many frames, a resize is done once a frame has been drawn at the new size, and the run goes on
# for a fixed number of frames after the warm-up. A quick machine and a slow one make the same run,
# only in different times.
#
#   bash tests/soak/soak.sh <metaballs> <gl_probe.so> [frames after the warm-up, default 2000]
#       [record copy]
#   (repository root; the soak starts a display of its own; the record of errors and memory is
#   copied where the fourth argument says)
set -euo pipefail
program=$(realpath "$1")
probe=$(realpath "$2")
frames=${3:-2000}
source "$(dirname "$0")/../e2e/e2e_lib.sh"
scratch=$(mktemp -d)
keep=${4:-}
record=$scratch/record
counter=$scratch/frames
end_soak() {
    cleanup_e2e
    stop_own_display
    [ -z "$keep" ] || cp "$record" "$keep"
    rm -rf "$scratch"
}
trap end_soak EXIT

# A display of its own without the shared-memory extension. The GL driver puts frames on the
# screen through a shared segment where the server offers one, and through a frame-sized buffer of
# its own where not: about 2 MiB more held at 800 x 600. Should the driver go over from one to the
# other during a run, the step could not be told from a leak; here it uses its own buffer from the
# first frame.
start_own_display -extension MIT-SHM

# glibc raises its mmap threshold each time a large mapped block is freed, and from then on serves
# blocks of that size (the GL driver's per-frame buffers) from the heap, whose top stays resident:
# resident memory steps up by a megabyte now and then without a leak. A fixed threshold keeps the
# allocator's policy still, so that what remains is what the program holds.
cat >"$scratch/metaballs" <<WRAP
#!/usr/bin/env bash
MALLOC_MMAP_THRESHOLD_=131072 LD_PRELOAD="$probe" VARKO_SOAK_LOG="$record" \
    VARKO_SOAK_FRAMES="$counter" exec "$program"
WRAP
chmod +x "$scratch/metaballs"
program=$scratch/metaballs

# Leaves the number of frames drawn so far in `drawn` (no subshell: this runs 50 times a second).
drawn=0
count_frames() {
    drawn=0
    [ -s "$counter" ] && read -r drawn <"$counter" || true
    drawn=${drawn:-0}
}

# Waits until the demo has drawn frame $1. A demo that ended fails the run, and so does one that
# draws nothing for 60 s (stuck: no machine is that slow).
await_frame() {
    local last=-1 still=0
    count_frames
    while [ "$drawn" -lt "$1" ]; do
        kill -0 "$program_pid" 2>/dev/null || fail "the demo ended after $drawn frames"
        if [ "$drawn" -eq "$last" ]; then
            still=$((still + 1))
            [ "$still" -lt 3000 ] || fail "no frame drawn for 60 s after frame $drawn"
        else
            last=$drawn still=0
        fi
        sleep 0.02
        count_frames
    done
}

# Lets the demo draw $1 more frames.
draw_frames() {
    count_frames
    await_frame $((drawn + $1))
}

# Holds key $1 for $2 frames (Up and Down step the ball count once a frame).
hold() {
    xdotool keydown "$1"
    draw_frames "$2"
    xdotool keyup "$1"
}

# Resizes the window to $1 x $2 and waits until a frame has been drawn into a viewport of that size.
resize() {
    count_frames
    local asked=$drawn
    xdotool windowsize "$gl" "$1" "$2"
    for _ in $(seq 3000); do
        if awk -v after="$asked" -v size="$1 $2" '$3 == "viewport" && $2 > after &&
                $4 " " $5 == size { found = 1 } END { exit !found }' "$record" 2>/dev/null; then
            return 0
        fi
        kill -0 "$program_pid" 2>/dev/null || fail "the demo ended after $drawn frames"
        sleep 0.02
    done
    fail "no frame drawn at $1 x $2 within 60 s of the resize"
}

start_demo "$scratch/messages"
xdotool windowfocus --sync "$gl"
resize 1000 700
hold Up 30
hold Down 30
resize 800 600
hold Up 20
for size in "640 480" "1000 700" "320 240" "800 600"; do
    resize $size
    hold Down 10
done
# Then the most balls until frame 1000: the driver's buffers grow to the largest surface they have
# been handed, and the balls need that long to show the animation's largest surfaces.
count_frames
hold Up $((drawn < 1000 ? 1000 - drawn : 1))
count_frames
warmup=$(((drawn / 100 + 1) * 100))
total=$((warmup + frames))

# Bursts of 0 to 39 frames with a key down, 0 to 19 frames apart.
keys=(Up Down)
while count_frames && [ "$drawn" -lt "$total" ]; do
    hold "${keys[$((RANDOM % 2))]}" $((RANDOM % 40))
    draw_frames $((RANDOM % 20))
done
hold_key_until_exit Escape || fail "Escape did not end the demo"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status, expected 0"

# Per sample: the frame, then resident and held memory. Resident memory only grows as pages are
# touched, so its peaks before and after the warm-up are compared. Held memory also counts what a
# frame has in hand at the sample (it swings by about 0.7 MiB, now and then more, and comes back),
# so what stays held is judged: the least of five samples at the warm-up's end, half-way through
# the run and at its end. A leak grows with the frames drawn, in both halves of the run (one half
# may lose the 0.5 MiB a frame had in hand at the warm-up's end, so a quarter suffices). The GL
# driver on a loaded machine now and then keeps one more 1.5 to 2.3 MiB for good at some frame
# after the warm-up, and stays flat after it: a single step, which lands in one half only.
read -r last warm_rss rss end_rss warm_held middle_held end_held <<<"$(awk -v w="$warmup" \
    -v m="$((warmup + frames / 2))" '$3 == "rss" {
        frame[++n] = $2; held[n] = $6; end_rss = $4
        if ($2 <= w) { if ($4 > warm_rss) warm_rss = $4; warm_last = n }
        else if ($4 > rss) rss = $4
        if ($2 <= m) middle_last = n
    } function least(from, to,    i, low) {
        low = held[to]
        for (i = from > 1 ? from : 1; i < to; ++i) if (held[i] < low) low = held[i]
        return low
    } END { print frame[n], warm_rss, rss, end_rss, least(warm_last - 4, warm_last),
        least(middle_last - 4, middle_last), least(n - 4, n)
    }' "$record")"
[ "$last" -ge "$total" ] || fail "the last memory sample is of frame $last, before frame $total"
errors=$(grep -c " error " "$record" || true)
first_growth=$((middle_held - warm_held))
second_growth=$((end_held - middle_held))
rss_growth=$((rss - warm_rss))
echo "frames: $drawn; held memory: at the warm-up's end (frame $warmup) $warm_held KiB, half-way" \
    "$middle_held KiB, after $frames more frames $end_held KiB (growth $first_growth and" \
    "$second_growth KiB; the least of five samples each);" \
    "resident: peaks $warm_rss KiB and $rss KiB (growth $rss_growth KiB), at the end $end_rss" \
    "KiB; GL errors: $errors"
grep " error " "$record" | head -n 5
[ "$(grep " error " "$record")" = "frame 1 error 0x0501" ] ||
    fail "GL errors other than the set-up's one GL_INVALID_VALUE"
# A memory check that fails shows every sample, for whoever looks into it.
fail_with_samples() {
    echo "memory samples (frame: resident/held KiB):"
    awk '$3 == "rss" { print $2 ": " $4 "/" $6 }' "$record" | paste -sd ' ' | fold -s -w 100
    fail "$*"
}
[ $((first_growth + second_growth)) -lt 1024 ] || [ "$first_growth" -lt 256 ] ||
    [ "$second_growth" -lt 256 ] || fail_with_samples "held memory rose $first_growth KiB over" \
        "the run's first half and $second_growth KiB over its second"
[ "$rss_growth" -lt 8192 ] ||
    fail_with_samples "resident memory rose $rss_growth KiB above the warm-up's peak"
echo "PASS"
