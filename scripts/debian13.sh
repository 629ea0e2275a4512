#!/usr/bin/env bash
# Runs a make target of this checkout (default: test, the README's test command) inside a Debian 13
# root made from Debian's archive, so that the same sources build and pass on the current stable
# release too. Needs root, debootstrap and the archive: debootstrap's own default mirror, or the one
# LD_DEBIAN_MIRROR names. The root (LD_DEBIAN13_ROOT, by default /var/cache/librarydesk/debian13)
# is kept between runs (later runs only install what is missing and rebuild what changed; ccache
# lives in the root). Every mount and every process of a run, debootstrap's and the install of
# debootstrap on this machine included, lives in mount and process namespaces of that run alone, so
# they go when it ends, also when it fails or is killed. A later run starts again by itself from
# what a killed one left: an install of debootstrap on this machine that was cut off is finished,
# the triggers it set off included, a root debootstrap did not finish is made anew, a package
# install in the root that was cut off is repaired (or the root made anew when that fails), and a
# folder is deleted only when nothing is mounted below it.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
root=${LD_DEBIAN13_ROOT:-/var/cache/librarydesk/debian13}
mirror=${LD_DEBIAN_MIRROR:-}
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

die() {
    echo "debian13.sh: $*" >&2
    exit 1
}

if [ "$(id -u)" -ne 0 ]; then
    die "run as root (it makes a Debian 13 root with debootstrap and enters it)"
fi

# The packages named and, of what they depend on, what dpkg has not finished installing on this
# machine, as "STATE PACKAGE" lines (STATE as dpkg-query's db:Status-Abbrev, without its trailing
# blanks). With them come, as "STATE PACKAGE =", the packages whose triggers their files or their
# own trigger activations set off, where those triggers are pending or their processing was cut
# off: dpkg runs them after an unpack, so a kill there leaves them so, and nothing else of dpkg's
# ties them to the install. A name given as "=PACKAGE" is such a package.
unfinished() {
    local -A seen=()
    local todo=("$@") p
    while [ ${#todo[@]} -gt 0 ]; do
        p=${todo[0]} todo=("${todo[@]:1}")
        [ -z "${seen[$p]:-}" ] || continue
        seen[$p]=1
        # A package listed for its triggers only: it brings in nothing of its own.
        if [ "${p#=}" != "$p" ]; then
            dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' "${p#=}" 2>/dev/null |
                awk '$1 ~ /^.[tF]$/ { print $1, $2, "=" }'
            continue
        fi
        dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' "$p" 2>/dev/null |
            awk '$1 !~ /^.[nci]$/ { print $1, $2 }' | grep . || continue
        # "a (>= 1), b:any | c" names a, b and c.
        mapfile -t -O ${#todo[@]} todo < <(dpkg-query -W -f='${Pre-Depends}, ${Depends}\n' "$p" |
            sed -e 's/([^)]*)//g' -e 's/:[a-z0-9-]*//g' | tr -s ', |' '\n' | grep .)
        mapfile -t -O ${#todo[@]} todo < <(triggered "$p")
    done | sort -u
}
# The packages whose triggers the package $1 sets off, each as "=PACKAGE": those interested in a
# folder its files are in, those interested in a trigger it activates, and those it awaits.
triggered() {
    local info=/var/lib/dpkg/info triggers=/var/lib/dpkg/triggers name
    {
        dpkg-query -L "$1" 2>/dev/null | awk 'NR == FNR { want[$1] = $2; next }
            { for (w in want) if ($0 == w || index($0, w "/") == 1) print want[w] }' \
            "$triggers/File" - || true
        for name in $(cat "$info/$1.triggers" "$info/$1":*.triggers 2>/dev/null |
            awk '$1 ~ /^activate/ { print $2 }'); do
            cat "$triggers/$name" 2>/dev/null || true
        done
        dpkg-query -W -f='${Triggers-Awaited}\n' "$1" 2>/dev/null | tr ' ' '\n'
    } | sed -e 's,/noawait$,,' -e 's/:[a-z0-9-]*$//' -e '/^$/d' -e 's/^/=/' | sort -u
}
# The packages of the lines of unfinished() in $1 whose state matches the awk pattern $2, in `picked`.
pick() {
    mapfile -t picked < <(awk -v state="$2" '$1 ~ state && !seen[$2]++ { print $2 }' <<<"$1")
}

# Runs its command in mount and process namespaces of its own. unshare goes with this script however
# the script ends (a killed CI job included), and kills the first process of that process namespace
# when it goes; the kernel then kills every process left in there, and with the last of them the
# mounts go. That first process is a shell that only waits for the command: a program can lose the
# signal it was to get when its parent goes (apt-get does: run as the first process, it and its dpkg
# went on installing for seconds after the run was killed).
alone=(setpriv --pdeathsig KILL unshare --mount --propagation private --pid --fork --kill-child --
    bash -c '"$@"; exit $?' debian13)

# A run killed while it installed debootstrap on this machine leaves it (or what came with it)
# unpacked and not set up in this machine's dpkg, and the triggers it set off pending or cut off,
# until some later install of anything finishes them. The next run finishes these packages itself,
# and no others that dpkg may have pending here: apt unpacks again what dpkg was cut off in, then
# dpkg sets up what is unpacked and runs the triggers. A second round takes what debootstrap, once
# unpacked, shows it depends on. apt runs dpkg in a session of its own, which a kill of the run's
# process group misses, so both run in the run's own namespaces and stop with it. One run at a time
# does this, so that no run takes another's install for one that was cut off.
mkdir -p /run/lock
exec 7>/run/lock/librarydesk-debian13-debootstrap.lock
flock 7
# A package once found unfinished is looked at again, one found for its triggers again for those
# only: finished, it no longer leads to the triggers it set off.
from=(debootstrap)
look() {
    left=$(unfinished "${from[@]}")
    mapfile -t -O ${#from[@]} from < <(awk 'NF { print $3 $2 }' <<<"$left")
}
look
if [ -n "$left" ]; then
    pick "$left" .
    echo "debian13.sh: finishing the install of debootstrap that an earlier run cut off:" \
        "${picked[@]}" >&2
fi
for round in 1 2; do
    # Cut off while dpkg unpacked them, or marked by dpkg as to be installed again.
    pick "$left" '^.H|R$'
    command -v debootstrap >/dev/null || picked+=(debootstrap)
    if [ ${#picked[@]} -gt 0 ]; then
        export DEBIAN_FRONTEND=noninteractive
        # apt goes on from a killed dpkg only once dpkg's journal is merged, which any dpkg session
        # that changes the database does; this one changes nothing else.
        dpkg --set-selections </dev/null
        [ -n "${updated:-}" ] || apt-get update -qq
        updated=1
        # Without these apt sets up every package dpkg has pending here.
        "${alone[@]}" apt-get install --reinstall -y -qq --no-install-recommends \
            -o DPkg::ConfigurePending=false -o DPkg::NoTriggers=false "${picked[@]}"
    fi
    look
    pick "$left" '^.[UFWt]$'
    [ ${#picked[@]} -eq 0 ] || "${alone[@]}" dpkg --configure "${picked[@]}" || [ "$round" -lt 2 ]
    look
    [ -n "$left" ] || break
done
[ -z "$left" ] || die "could not finish the install of debootstrap; dpkg --audit names what is left"
exec 7>&-

# The mount points of this mount namespace below the folder $1, the last mounted first, in `below`;
# `at` is set when $1 is a mount point itself.
mounts_below() {
    below=() at=""
    local m
    while read -r _ _ _ _ m _; do
        m=${m//\\040/ } m=${m//\\011/$'\t'} m=${m//\\012/$'\n'} m=${m//\\134/\\}
        case $m in
        "$1") at=1 ;;
        "$1"/*) below=("$m" "${below[@]}") ;;
        esac
    done </proc/self/mountinfo
}

# Deletes the folder $1 and never crosses a mount point. A run of this script mounts nothing where
# this namespace sees it: its mounts, debootstrap's included, are made in mount namespaces of that
# run alone, which no mount propagates out of, and they go with it. So whatever is mounted below $1
# is not a run's to unmount (a user's own, or the root's /proc and /sys that a killed debootstrap of
# an older version of this script left on the host): the delete is refused, naming it.
remove() {
    local path
    if [ -L "$1" ]; then
        rm -f -- "$1"
        return
    fi
    [ -e "$1" ] || return 0
    path=$(realpath -- "$1")
    mounts_below "$path"
    [ -z "$at" ] || die "$path is a mount point itself, which this script never makes; unmount it" \
        "or name another root with LD_DEBIAN13_ROOT"
    [ ${#below[@]} -eq 0 ] || die "$path is to be deleted, but these are mounted below it, and no" \
        "run of this script mounted them: ${below[*]@Q}. Unmount them (findmnt -R $path), then run" \
        "again, or name another root with LD_DEBIAN13_ROOT"
    # Without its mark a half-deleted root is never taken for a finished one.
    rm -f -- "$path/.librarydesk-root"
    rm -rf --one-file-system -- "$path" || die "could not delete $path"
}

mkdir -p "$(dirname "$root")"
# One run at a time makes the root or installs into it; builds of other checkouts then share it.
exec 9>"$root.lock"
flock 9
# Runs that use the root hold this shared; it is taken whole only to make the root anew, so that a
# root is never deleted under another checkout's build.
exec 8>"$root.use"

# A root is taken only once debootstrap finished it and marked it.
make_root() {
    flock 8
    if [ ! -e "$root.tmp/.librarydesk-root" ]; then
        remove "$root.tmp"
        "${alone[@]}" debootstrap --variant=minbase trixie "$root.tmp" ${mirror:+"$mirror"}
        touch "$root.tmp/.librarydesk-root"
    fi
    remove "$root"
    mv "$root.tmp" "$root"
    flock -s 8
}
if [ -e "$root/.librarydesk-root" ]; then
    flock -s 8
    # What a run killed while it made a root anew left.
    remove "$root.tmp"
else
    make_root
fi

# The checkout appears at the same path inside, so the build's absolute paths read the same; the
# Debian 13 builds keep folders of their own beside the Debian 12 ones.
enter() {
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mkdir -p "$root$top"
    "${alone[@]}" bash -euo pipefail -c '
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
            DEBIAN_FRONTEND=noninteractive /bin/bash -c "cd \"$top\" && $command"
    ' debian13 "$root" "$top" "$jobs" "$basedir" "$1"
}

# A run killed while it installed packages leaves dpkg cut off half-way; later installs refuse until
# it is finished. dpkg finishes what it can (it ends with 1 when it could not finish them all). apt's
# own fix goes first: it unpacks again what dpkg was cut off in and installs what an unpacked package
# lacks (not what it only recommends, as install-deps.sh). A reinstall, which apt refuses while any
# dependency is unmet, comes only for what that fix left cut off. Then dpkg must finish all. dpkg
# that does not run at all, or packages still left unfinished, fail the repair, and the root is
# made anew.
repair='set -euo pipefail
dpkg --configure -a || [ $? -eq 1 ]
left() { dpkg-query -W -f="\${db:Status-Abbrev} \${binary:Package}\n" | awk "\$1 ~ /$1/ { print \$2 }"; }
broken=$(left "^.[^inc]|^..R")
if [ -n "$broken" ]; then
    echo "debian13.sh: repairing the packages an earlier run left half installed:" $broken >&2
    apt-get update -qq
    apt-get install -f -y -qq --no-install-recommends || true
    again=$(left "^.H|R\$")
    if [ -n "$again" ]; then
        apt-get install --reinstall -y -qq --no-install-recommends $again || true
        apt-get install -f -y -qq --no-install-recommends || true
    fi
    dpkg --configure -a
    [ -z "$(left "^.[^inc]|^..R")" ]
fi'
if ! enter "$repair"; then
    echo "debian13.sh: the root's packages could not be repaired; making the root anew" >&2
    rm -f "$root/.librarydesk-root"
    make_root
fi
enter "bash scripts/install-deps.sh"
flock -u 9
enter "$command" 9>&-
