#!/usr/bin/env bash
# Builds and runs every test: the normal build, the sanitizer build, and a short fuzzing run.
# Integration and end-to-end tests run in a virtual display (Xvfb) started here.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
jobs=$(nproc)
in_display=(xvfb-run -a -s "-screen 0 1024x768x24")

echo "== normal build =="
cmake --preset default >/dev/null
cmake --build --preset default -j"$jobs"
"${in_display[@]}" ctest --preset default -j"$jobs"

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) =="
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$jobs"
# The test preset carries the sanitizer settings: leak checks everywhere, with the system
# libraries' own start-up allocations suppressed.
"${in_display[@]}" ctest --preset sanitize -j"$jobs"

if [ -d tests/fuzz ]; then
    echo "== fuzzing =="
    bash scripts/fuzz.sh "${VARKO_FUZZ_SECONDS:-15}"
fi
