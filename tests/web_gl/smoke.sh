#!/usr/bin/env bash
# Builds the web GL layer's smoke page with Emscripten and opens it in headless Chromium: the
# layer and GLU link without Emscripten's own GL 1.1 code, the page draws without a GL error
# (its title says "drawn"), and a screenshot is left beside it for a look.
#
#   bash tests/web_gl/smoke.sh [BUILD_DIR]      (default build/web-gl-smoke)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build/web-gl-smoke}")
export NODE_PATH=/usr/share/nodejs

emcmake cmake -S "$root/tests/web_gl" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
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
    rm -rf "$profile"/*
    timeout 120 chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
        --disable-background-networking --disable-component-update --disable-sync --no-first-run \
        --user-data-dir="$profile" --window-size=320,240 --virtual-time-budget=5000 "$@" \
        "file://$page" 2>/dev/null
}
title=$(chromium_run --dump-dom | grep -o "<title>[^<]*</title>" || true)
chromium_run --screenshot="$build/lit_sphere.png" >/dev/null
if [ "$title" != "<title>drawn</title>" ]; then
    echo "FAIL: the page says ${title:-nothing}" >&2
    exit 1
fi
echo "PASS: drawn; screenshot $build/lit_sphere.png"
