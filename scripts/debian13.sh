#!/usr/bin/env bash
# Runs a make target of this checkout (default: test, the README's test command) inside a Debian 13
# root made from Debian's archive, so that the same sources build and pass on the current stable
# release too. Needs root, debootstrap and the archive. The root is kept between runs (later runs
# only install what is missing and rebuild what changed); the mounts go when the run ends, also on
# failure, since they live in a mount namespace of this run alone.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
root=${LD_DEBIAN13_ROOT:-/var/cache/librarydesk/debian13}
mirror=${LD_DEBIAN_MIRROR:-http://deb.debian.org/debian}
# `debian13.sh --run 'COMMAND'` runs a command of one's own in the checkout instead, after the
# packages are in: `--run 'cmake --build build-test-debian13 --target test_ui'`.
if [ "${1:-}" = "--run" ]; then
    command=$2
else
    command="make ${1:-test} BUILD=build-debian13 TEST_BUILD=build-test-debian13"
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "debian13.sh: run as root (it makes a Debian 13 root with debootstrap and enters it)" >&2
    exit 1
fi

if ! command -v debootstrap >/dev/null; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends debootstrap
fi

# A root is taken only once debootstrap finished it: a run killed half-way leaves only the .tmp.
if [ ! -e "$root/.librarydesk-root" ]; then
    rm -rf "$root.tmp"
    mkdir -p "$(dirname "$root")"
    debootstrap --variant=minbase trixie "$root.tmp" "$mirror"
    touch "$root.tmp/.librarydesk-root"
    rm -rf "$root"
    mv "$root.tmp" "$root"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root$top"

# The checkout appears at the same path inside, so the build's absolute paths read the same; the
# Debian 13 builds keep folders of their own beside the Debian 12 ones.
exec unshare --mount --propagation private -- bash -euo pipefail -c '
    root=$1 top=$2 command=$3
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mount --rbind /sys "$root/sys"
    mount -t tmpfs tmpfs "$root/tmp"
    mount --bind "$top" "$root$top"
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        CI="${CI:-}" /bin/bash -c "cd \"$top\" && bash scripts/install-deps.sh && $command"
' debian13 "$root" "$top" "$command"
