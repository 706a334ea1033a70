#!/usr/bin/env bash
# Builds the web preset and serves the page on 127.0.0.1, printing the address to open in a
# browser. Ctrl+C stops the server.
#
#   bash scripts/run-web.sh [PORT]     (default: a free port)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset web >/dev/null
cmake --build --preset web -j"$(nproc)" --target metaballs
port=${1:-$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')}
echo "Open http://127.0.0.1:$port/metaballs.html (Ctrl+C stops the server)"
cd build/web/app
exec python3 -m http.server --bind 127.0.0.1 "$port" >/dev/null 2>&1
