#!/usr/bin/env bash
# Runs a make target of this checkout (default: test, the README's test command) inside a Debian 13
# root made from Debian's archive, so that the same sources build and pass on the current stable
# release too. Needs root, debootstrap and the archive. The root is kept between runs (later runs
# only install what is missing and rebuild what changed; ccache lives in the root); the mounts and
# every process of a run go when it ends, also when it fails or is killed, since they live in mount
# and process namespaces of that run alone.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
root=${LD_DEBIAN13_ROOT:-/var/cache/librarydesk/debian13}
mirror=${LD_DEBIAN_MIRROR:-http://deb.debian.org/debian}
jobs=${JOBS:-$(nproc)}
# Builds of checkouts under one folder share the root's compiler cache when that folder is given.
basedir=${CCACHE_BASEDIR:-$top}
# `debian13.sh --run 'COMMAND'` runs a command of one's own in the checkout instead, after the
# packages are in: `--run 'cmake --build build-test-debian13 --target test_ui'`.
if [ "${1:-}" = "--run" ]; then
    command=$2
else
    command="make ${1:-test} JOBS=$jobs BUILD=build-debian13 TEST_BUILD=build-test-debian13"
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

mkdir -p "$(dirname "$root")"
# One run at a time makes the root or installs into it; builds of other checkouts then share it.
exec 9>"$root.lock"
flock 9
# A root is taken only once debootstrap finished it: a run killed half-way leaves only the .tmp.
if [ ! -e "$root/.librarydesk-root" ]; then
    rm -rf "$root.tmp"
    debootstrap --variant=minbase trixie "$root.tmp" "$mirror"
    touch "$root.tmp/.librarydesk-root"
    rm -rf "$root"
    mv "$root.tmp" "$root"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir -p "$root$top"

# The checkout appears at the same path inside, so the build's absolute paths read the same; the
# Debian 13 builds keep folders of their own beside the Debian 12 ones. The run is the first
# process of its own process namespace, which unshare kills when it goes; unshare goes with this
# script however the script ends (a killed CI job included), and every process of the run with it,
# and with the last of them the mounts.
enter=(setpriv --pdeathsig KILL unshare --mount --propagation private --pid --fork --kill-child --
    bash -euo pipefail -c '
    root=$1 top=$2 jobs=$3 basedir=$4 command=$5
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mount --rbind /sys "$root/sys"
    mount -t tmpfs tmpfs "$root/tmp"
    # A checkout under /tmp needs its mount point in the fresh /tmp too.
    mkdir -p "$root$top"
    mount --bind "$top" "$root$top"
    exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
        LANG=C.UTF-8 CI="${CI:-}" JOBS="$jobs" CCACHE_BASEDIR="$basedir" \
        /bin/bash -c "cd \"$top\" && $command"
' debian13 "$root" "$top" "$jobs" "$basedir")
"${enter[@]}" "bash scripts/install-deps.sh"
flock -u 9
"${enter[@]}" "$command"
