#!/usr/bin/env bash
# Builds the web GL layer's smoke page with Emscripten and opens it in headless Chromium:
#  - the layer and GLU link without any of Emscripten's own GL code;
#  - the page draws with exactly the GL errors Mesa gives (its title says "drawn");
#  - its screenshot matches the same scene drawn by Mesa's off-screen renderer within the
#    tolerances the web build's frames are held to (40 dB PSNR, under 0.5% of pixels off by
#    more than 5%).
#
#   bash tests/web_gl/smoke.sh [BUILD_DIR]      (default build/web-gl-smoke)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build/web-gl-smoke}")
export NODE_PATH=/usr/share/nodejs

emcmake cmake -S "$root/tests/web_gl" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null 2>&1
cmake --build "$build" -j2 >/dev/null
page=$build/lit_sphere.html

# Every GL entry point must be the layer's: Emscripten adds JavaScript for any it resolves.
if grep -qE "function _gl[A-Z]" "$page"; then
    echo "FAIL: Emscripten's GL functions were linked in:" >&2
    grep -oE "function _gl[A-Za-z0-9]+" "$page" | sort -u >&2
    exit 1
fi

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
chromium_run() {
    rm -rf "${profile:?}"/*
    timeout 120 chromium --headless --no-sandbox --use-angle=swiftshader \
        --enable-unsafe-swiftshader --disable-background-networking --disable-component-update \
        --disable-sync --no-first-run \
        --user-data-dir="$profile" --window-size=320,240 --virtual-time-budget=5000 "$@" \
        "file://$page" 2>/dev/null
}
title=$(chromium_run --dump-dom | grep -o "<title>[^<]*</title>" || true)
if [ "$title" != "<title>drawn</title>" ]; then
    echo "FAIL: the page says ${title:-nothing}" >&2
    exit 1
fi
chromium_run --screenshot="$build/lit_sphere.png" >/dev/null

g++ -std=c++20 -O1 -I"$root" -o "$build/lit_sphere_mesa" "$root/tests/web_gl/lit_sphere_mesa.cpp" \
    "$root/tests/web_gl/lit_sphere_scene.cpp" -lOSMesa -lGLU -lGL
"$build/lit_sphere_mesa" "$build/lit_sphere_mesa.ppm"
psnr=$(compare -metric PSNR "$build/lit_sphere_mesa.ppm" "$build/lit_sphere.png" null: 2>&1 || true)
off=$(compare -metric AE -fuzz 5% "$build/lit_sphere_mesa.ppm" "$build/lit_sphere.png" null: 2>&1 ||
    true)
echo "against Mesa: PSNR $psnr dB, $off of $((320 * 240)) pixels off by more than 5%"
pixels=$((320 * 240))
if ! awk -v p="$psnr" -v o="$off" -v n="$pixels" \
    'BEGIN { exit !((p == "inf" || p >= 40) && o < 0.005 * n) }'; then
    echo "FAIL: the browser's picture is not Mesa's" >&2
    exit 1
fi
echo "PASS: screenshot $build/lit_sphere.png"
