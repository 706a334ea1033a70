#!/usr/bin/env bash
# Tries the README's two commands as a new user would, on a fresh minimal Debian 12: builds a root
# file system with debootstrap from the Debian mirrors this machine uses, copies a clean clone of
# this repository's HEAD into it, and runs `bash scripts/run-demo.sh`, then `bash scripts/test.sh`
# there, in a chroot with /proc, /sys and /dev bound in and no display. Prints the outcome of each;
# the full logs stay in the work folder. Run by hand, as root, before a release (it takes most of
# an hour on two cores; not part of CI), with no other X display running on the machine:
#
#   bash scripts/fresh-machine-check.sh [--security=with|without] [work-folder]
#       (default: with, /var/tmp/varko-fresh)
#
# A Debian 12 installed today comes with the security archive's updates, and so does the root by
# default: it takes the security archive as a package source and is upgraded from it before the
# commands run. With --security=without the root knows the main archive only (its point release),
# as an installation made without network or with the security source left out has it; the X
# server, for one, is then an older build.
set -euo pipefail
cd "$(dirname "$0")/.."

security=with
if [[ ${1:-} == --security=* ]]; then
    security=${1#--security=}
    shift
fi
if [ "$security" != with ] && [ "$security" != without ]; then
    echo "usage: $0 [--security=with|without] [work-folder]" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "run this as root (debootstrap and chroot need it)" >&2
    exit 2
fi
# An X client reaches a display through its abstract socket first, and abstract sockets are shared
# by every root on the machine: a display the root's tests start under a number taken outside
# would fail to start, or the tests would talk to the other display. Nothing else may run a display
# meanwhile: no other check, no tests outside the root.
if ss -xlH 2>/dev/null | grep -q "@/tmp/.X11-unix/"; then
    echo "an X display is running on this machine (ss -xl lists it): stop it first; the root's" \
        "displays would share its abstract sockets" >&2
    exit 2
fi
work=$(realpath -m "${1:-/var/tmp/varko-fresh}")
root=$work/root
mirror=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null ||
    true)
mirror=${mirror:-http://deb.debian.org/debian}

command -v debootstrap >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap

unmount_all() {
    for mount in dev/shm dev/pts dev sys proc; do
        if mountpoint -q "$root/$mount"; then
            umount -l "$root/$mount" || true
        fi
    done
}
trap unmount_all EXIT

if [ -d "$root" ]; then
    unmount_all
    rm -rf "$root"
fi
mkdir -p "$work"
echo "== debootstrap bookworm from $mirror into $root ($security the security archive)"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 || {
    tail -n 20 "$work/debootstrap.log" >&2
    exit 1
}
# The same package sources as this machine (less the security archive's, without it), and its name
# resolution.
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    rm -f "$root/etc/apt/sources.list"
    if [ "$security" = with ]; then
        cp /etc/apt/sources.list.d/debian.sources "$root/etc/apt/sources.list.d/"
    else
        awk -v RS= -v ORS='\n\n' '!/debian-security/' /etc/apt/sources.list.d/debian.sources \
            >"$root/etc/apt/sources.list.d/debian.sources"
    fi
elif [ "$security" = with ]; then
    echo "deb http://deb.debian.org/debian-security bookworm-security main" \
        >>"$root/etc/apt/sources.list"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"

echo "== clean clone of $(git rev-parse --short HEAD)"
git clone -q "$(pwd)" "$root/root/varko"

mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount -t devpts devpts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"

# Runs a README command in the fresh root with a clean environment: no display, no proxy settings
# or build variables from this shell.
run_fresh() {
    local name=$1 started status=0
    started=$(date +%s)
    env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        chroot "$root" bash -c "cd /root/varko && bash scripts/$name" >"$work/$name.log" 2>&1 ||
        status=$?
    local minutes=$((($(date +%s) - started + 59) / 60))
    if [ "$status" -eq 0 ]; then
        echo "$name: PASSED first time ($minutes min; log $work/$name.log)"
    else
        echo "$name: FAILED with status $status ($minutes min; log $work/$name.log); its end:"
        tail -n 25 "$work/$name.log" | sed 's/^/    /'
    fi
    return "$status"
}

if [ "$security" = with ]; then
    echo "== upgrade from the security archive"
    chroot "$root" env DEBIAN_FRONTEND=noninteractive sh -c \
        'apt-get update -qq && apt-get upgrade -y -qq' >"$work/upgrade.log" 2>&1 || {
        tail -n 20 "$work/upgrade.log" >&2
        exit 1
    }
fi

outcome=0
echo "== bash scripts/run-demo.sh"
run_fresh run-demo.sh || outcome=1
echo "== bash scripts/test.sh"
run_fresh test.sh || outcome=1
exit "$outcome"
