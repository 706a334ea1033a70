#!/usr/bin/env bash
# Builds the web preset and serves the page on 127.0.0.1, printing the address to open in a
# browser. Ctrl+C stops the server.
#
#   bash scripts/run-web.sh [PORT]     (default: a free port)
set -euo pipefail
cd "$(dirname "$0")/.."
port=${1:-0}
cmake --preset web >/dev/null
cmake --build --preset web --target metaballs
site=build/web/app
echo "Serving the demo; open the address below (Ctrl+C stops)."
cd "$site"
exec python3 -u -m http.server --bind 127.0.0.1 "$port" 2>&1 |
    sed -u -n 's|.*Serving HTTP on \([0-9.]*\) port \([0-9]*\).*|http://\1:\2/metaballs.html|p'
