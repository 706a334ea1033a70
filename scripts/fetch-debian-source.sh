#!/usr/bin/env bash
# Fetches and unpacks one Debian source package into a folder, for the libraries the web build
# compiles itself (the browser has no system libraries to link).
#
#   bash scripts/fetch-debian-source.sh PACKAGE DEST
#
# The system's apt state stays untouched: a private sources list, made from the machine's own
# mirrors with `Types: deb-src`, and private lists and cache folders under DEST/.apt. Idempotent:
# a DEST that already holds the unpacked tree is left as it is.
set -euo pipefail

package=$1
dest=$(realpath -m "$2")
if [ -f "$dest/.unpacked" ]; then
    exit 0
fi
state=$dest/.apt
mkdir -p "$state/lists/partial" "$state/cache/archives/partial" "$dest"

# deb-src entries for every deb entry of the machine's deb822 sources.
sources=$state/sources.sources
: >"$sources"
for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    sed -n 's/^Types:.*\bdeb\b.*/Types: deb-src/;p' "$file" >>"$sources"
    echo >>"$sources"
done

options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$state/parts"
    -o Dir::State::Lists="$state/lists" -o Dir::Cache="$state/cache" -o APT::Get::List-Cleanup=0)
mkdir -p "$state/parts"
cp "$sources" "$state/parts/debian.sources"
apt-get "${options[@]}" update -qq >/dev/null
(cd "$dest" && apt-get "${options[@]}" source --download-only -qq "$package" >/dev/null)
tree_parent=$dest/tree
rm -rf "$tree_parent"
(cd "$dest" && dpkg-source --no-check -x ./*.dsc "$tree_parent" >/dev/null)
touch "$dest/.unpacked"
