#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for SECONDS seconds (default 15), starting from its seeds in
# tests/fuzz/corpus/<target>/. New inputs go to build/fuzz/corpus/<target>/, crashes to
# build/fuzz/artifacts/; the run fails on the first crash, leak, overlong allocation or hang.
#
# To fuzz longer, pass more seconds (bash scripts/fuzz.sh 3600), or run one target by hand, in
# parallel and resuming from what earlier runs found:
#   build/fuzz/tests/fuzz/fuzz_tga -max_total_time=3600 -jobs=4 -workers=4 \
#       build/fuzz/corpus/tga tests/fuzz/corpus/tga
# A crash file reproduces with: build/fuzz/tests/fuzz/fuzz_tga build/fuzz/artifacts/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-15}
targets=(tga pcx picture splash)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p build/fuzz/artifacts
for target in "${targets[@]}"; do
    echo "== fuzz_$target for ${seconds}s =="
    mkdir -p "build/fuzz/corpus/$target"
    "build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -malloc_limit_mb=256 -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 \
        "build/fuzz/corpus/$target" "tests/fuzz/corpus/$target"
done
