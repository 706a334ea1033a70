#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test. Idempotent: packages
# already present are skipped, and apt-get runs only when something is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev libsdl2-image-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
    libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    xvfb xauth xdotool x11-utils imagemagick strace
    # The X core fonts: without them SDL's message boxes cannot be drawn on X11.
    xfonts-base
    clang libclang-rt-14-dev
    libosmesa6-dev dpkg-dev file desktop-file-utils
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    g++-mingw-w64-x86-64-posix googletest wine wine64
    gnuplot-nox
    # The web build: the compiler, the browser its tests run in, and the picture decoder.
    emscripten chromium libstb-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
