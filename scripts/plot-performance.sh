#!/usr/bin/env bash
# Measures the per-frame processor work for grids 50 to 250 (2 and 10 balls) with the benchmark and
# plots it against the grid size as docs/performance.png; the benchmark's report goes to stdout.
# Needs the default build (cmake --preset default) and gnuplot.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build --preset default --target benchmark -j2 >/dev/null
data=$(mktemp)
trap 'rm -f "$data"' EXIT
build/default/tools/benchmark --scaling="$data"

gnuplot <<PLOT
set terminal pngcairo size 800,500 font "DejaVu Sans,11"
set output "docs/performance.png"
set title "Per-frame processor work (field, normals and extraction), one thread"
set xlabel "grid (cells per side)"
set ylabel "milliseconds per frame"
set logscale xy
set xrange [40:290]
set xtics (50, 100, 150, 200, 250)
set grid
set key top left
stats "$data" index 1 every ::0::0 using 3 name "ten" nooutput
plot "$data" index 0 using 1:3 with linespoints lw 2 pt 7 title "2 balls", \
     "$data" index 1 using 1:3 with linespoints lw 2 pt 5 title "10 balls", \
     "$data" index 1 using 1:6 with linespoints dt 3 lw 2 pt 6 lc "gray20" \
         title "writing and reading the grid's points once", \
     [50:250] ten_min * (x / 50.0)**3 with lines dt 2 lc "gray40" title "10 balls at grid 50, times cells"
PLOT
echo "wrote docs/performance.png"
