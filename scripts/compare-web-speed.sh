#!/usr/bin/env bash
# Compares the web build's per-frame work under node (its SIMD path, and its portable path for
# reference) with the native SSE2 path's, in one run: the benchmarks take turns, RUNS times each
# (default 5), so that the machine's slow spells and other load hit all alike. Prints each run's
# last line, then the medians of the runs' frame medians, the ratio of the SIMD path's to the
# native one's and the load average before and after. Needs the default and web builds
# (cmake --preset default; cmake --preset web).
#
#   bash scripts/compare-web-speed.sh [RUNS] [BENCHMARK OPTIONS...]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
shift || true
cmake --build --preset default --target benchmark -j2 >/dev/null
NODE_PATH=/usr/share/nodejs cmake --build --preset web --target benchmark >/dev/null

declare -A frames=([wasm]="" [wasm_portable]="" [sse2]="")
run() { # name, command...: runs one benchmark and keeps its frame median
    local name=$1 line
    shift
    line=$("$@" | tail -n 1)
    echo "$name: $line"
    frames[$name]+="$(sed -E 's/^frame ([0-9.]+) ms.*/\1/' <<<"$line") "
}
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -g | awk '{v[NR] = $1}
    END {print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

echo "load average before: $(cut -d ' ' -f 1-3 /proc/loadavg)"
for ((i = 0; i < runs; ++i)); do
    run wasm node --no-experimental-fetch build/web/tools/benchmark.js "$@"
    run wasm_portable node --no-experimental-fetch build/web/tools/benchmark.js --path=portable "$@"
    run sse2 build/default/tools/benchmark --path=sse2 "$@"
done
echo "load average after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
wasm=$(median "${frames[wasm]}")
sse2=$(median "${frames[sse2]}")
echo "median frame: wasm simd128 $wasm ms, wasm portable $(median "${frames[wasm_portable]}") ms," \
    "native sse2 $sse2 ms; simd128 / sse2 $(awk "BEGIN {printf \"%.2f\", $wasm / $sse2}")"
