#!/usr/bin/env bash
# Fetches and unpacks Debian source packages for the libraries the web build compiles itself (a
# browser has no system libraries to link against).
#
#   bash scripts/fetch-web-sources.sh [-d CACHE] PACKAGE[=VERSION]...
#
# Each package ends up unpacked in CACHE/PACKAGE (default CACHE: build/web-sources), which the
# web build's CMake reads. The system's apt state stays untouched: a private sources list made
# from the machine's own mirrors with `Types: deb-src`, and private lists and archives under
# CACHE/.apt. A package already unpacked is left as it is, so the script can run before every
# build.
set -euo pipefail

cache=build/web-sources
if [ "${1:-}" = "-d" ]; then
    cache=$2
    shift 2
fi
if [ $# -eq 0 ]; then
    echo "usage: $0 [-d CACHE] PACKAGE[=VERSION]..." >&2
    exit 2
fi
cache=$(realpath -m "$cache")
state=$cache/.apt

apt_options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$state/parts"
    -o Dir::State::Lists="$state/lists" -o Dir::Cache="$state/cache" -o APT::Get::List-Cleanup=0)

# deb-src entries for every deb entry of the machine's own sources (deb822 files only).
write_sources() {
    mkdir -p "$state/parts" "$state/lists/partial" "$state/cache/archives/partial"
    local sources=$state/parts/debian.sources
    : >"$sources"
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed 's/^Types:.*\bdeb\b.*/Types: deb-src/' "$file" >>"$sources"
        echo >>"$sources"
    done
}

fetch_one() {
    local wanted=$1 name=${1%%=*}
    local dest=$cache/$name download=$state/download/$name
    if [ -f "$dest/.unpacked" ]; then
        return
    fi
    rm -rf "$dest" "$download"
    mkdir -p "$download"
    local log=$download.log
    if (cd "$download" && apt-get "${apt_options[@]}" source --download-only -qq "$wanted" \
        >/dev/null 2>"$log"); then
        dpkg-source --no-check -x "$download"/*.dsc "$dest" >/dev/null
    else
        unpack_upstream_only "$name" "$download" "$dest"
    fi
    touch "$dest/.unpacked"
}

# Some mirrors serve a package's upstream tarball but not its Debian diff, which holds only the
# packaging; the upstream tree is all the web build compiles.
unpack_upstream_only() {
    local name=$1 download=$2 dest=$3
    local tarballs=("$download"/*.orig.tar.*)
    if [ ! -f "${tarballs[0]}" ]; then
        cat "$download.log" >&2
        echo "$0: could not download the source of $name" >&2
        exit 1
    fi
    echo "$0: $name: Debian's changes missing on the mirror; using the upstream tarball" >&2
    mkdir -p "$dest"
    tar -xf "${tarballs[0]}" -C "$dest" --strip-components=1
}

write_sources
apt-get "${apt_options[@]}" update -qq >/dev/null
for package in "$@"; do
    fetch_one "$package"
done
