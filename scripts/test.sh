#!/usr/bin/env bash
# Builds and runs every test: the normal build, the sanitizer builds, the Windows and web builds,
# and a short fuzzing run.
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
# The README's first command, as a newcomer runs it where there is no display.
env -u DISPLAY DEMO_SECONDS=1 bash scripts/run-demo.sh

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) =="
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$jobs"
# The test preset carries the sanitizer settings: leak checks everywhere, with the system
# libraries' own start-up allocations suppressed.
"${in_display[@]}" ctest --preset sanitize -j"$jobs"

echo "== ThreadSanitizer build (integration and end-to-end tests) =="
cmake --preset tsan >/dev/null
# Only what those tests run: the program, its helper and the integration tests.
cmake --build --preset tsan -j"$jobs"
# The test preset has Mesa draw on the calling thread (LP_NUM_THREADS=0): its own drawing threads
# wait on each other in ways ThreadSanitizer cannot follow, and every frame would be reported. The
# program's threads (the main one and the one that takes Ctrl+C and kill) are what is checked.
"${in_display[@]}" ctest --preset tsan -j"$jobs"

echo "== Windows build (MinGW-w64 cross build; unit, integration and end-to-end tests under Wine) =="
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$jobs"
# A fresh Wine prefix per run, as in the test preset, with unmanaged windows (there is no window
# manager in the virtual display). Wine's background services start here with their output
# discarded: started by a test, they would hold its output open and ctest would wait on them.
export WINEPREFIX="$PWD/build/win32/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
"${in_display[@]}" bash -c '
    wine wineboot >/dev/null 2>&1
    wine reg add "HKCU\Software\Wine\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    status=0
    ctest --preset win32 || status=$?
    # The per-frame work on both builds, one line after the other: the ratio to the plain loops
    # on Windows should be within 15% of the Linux one (read, not judged: timings are no test).
    echo "== benchmark: Linux, then Windows under Wine =="
    # A persistent server keeps the services of Wine running: started by the benchmark itself,
    # they would take the processor from it in its first seconds.
    wineserver -k
    wineserver -p
    wine wineboot >/dev/null 2>&1
    set -o pipefail
    build/default/tools/benchmark --frames=100 | tail -n 1 | sed "s/^/Linux:   /" || status=$?
    wine build/win32/tools/benchmark.exe --frames=100 | tail -n 1 | sed "s/^/Windows: /" ||
        status=$?
    wineserver -k
    exit $status'

echo "== web build (WebAssembly and WebGL in headless Chromium) =="
cmake --preset web >/dev/null
cmake --build --preset web -j"$jobs"
# The browser cases run from the unpacked web zip, each in a fresh Chromium profile; under node,
# the vector path tests and 50 frames of the benchmark on the WebAssembly SIMD path.
ctest --preset web

if [ -d tests/fuzz ]; then
    echo "== fuzzing =="
    bash scripts/fuzz.sh "${VARKO_FUZZ_SECONDS:-15}"
fi
