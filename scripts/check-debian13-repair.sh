#!/usr/bin/env bash
# Checks how `scripts/debian13.sh` goes on from what it did not make or finish itself. Run as root:
# `bash scripts/check-debian13-repair.sh [CASE...]`, the cases being, in turn by default:
#
#   debootstrap  debootstrap unpacked and not set up in this machine's dpkg, with man-db's trigger
#                pending, as a run killed while it installed debootstrap leaves them; beside it a
#                package of the check's own, unpacked too. The run must finish debootstrap, say so,
#                and leave the other package as it was.
#   killed       debootstrap removed from this machine, and a run that installs it killed (KILL,
#                then TERM) as soon as dpkg has unpacked it, while man-db's trigger runs; the
#                package of the check's own unpacked beside it. The kill must stop the install, and
#                the next run must finish debootstrap and the trigger and leave the other package
#                as it was: nothing else pending, and `apt-get check` content.
#   mount        a bind mount in the root's .tmp folder, which a run deletes: the run must refuse,
#                naming the mount, and leave it mounted.
#   halfdone     a library half unpacked in the root and a program that needs it unpacked, as a
#                run killed while it installed packages leaves them: the run must repair them,
#                not make the root anew.
#   unmet        a library half unpacked in the root, and a program unpacked whose library is not
#                installed at all: the run must repair them, not make the root anew.
#   dpkg         the root's dpkg gone: the repair must fail and the run make the root anew.
#
# Not part of .ci/run: the debootstrap and killed cases change this machine's dpkg for seconds (and
# put it back, also when the check fails), and the dpkg case makes a root from nothing. Each case
# starts from a copy of a finished root, LD_CHECK_SEED (by default the kept root,
# /var/cache/librarydesk/debian13, copied under its lock), in
# /var/cache/librarydesk/debian13-repaircheck, deleted at the end. All six took two and a half
# minutes here: ten seconds for each copy, seconds for each case but the last, and a minute for the
# new root of the dpkg case (more with a slower archive or a busy disk).
set -euo pipefail
cd "$(dirname "$0")/.."
seed=${LD_CHECK_SEED:-/var/cache/librarydesk/debian13}
root=/var/cache/librarydesk/debian13-repaircheck
cases=${*:-debootstrap killed mount halfdone unmet dpkg}
other=librarydesk-check-unfinished
[ "$(id -u)" -eq 0 ] || { echo "check-debian13-repair.sh: run as root" >&2; exit 1; }
work=$(mktemp -d)
planted="" pgid="" held=""

say() { printf '%s check-debian13-repair: %s\n' "$(date +%T)" "$*"; }
fail() {
    say "FAIL: $*" >&2
    exit 1
}
state() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | tr -d ' '; }

# Puts back what a case changed, however the check ends.
cleanup() {
    local rc=$?
    if [ -n "$pgid" ] && pgrep -g "$pgid" >/dev/null; then
        kill -KILL -- "-$pgid" 2>/dev/null || true
    fi
    # Lets the held dpkg go on and end, and what it runs: the end of apt's terminal stops some.
    if [ -n "$held" ]; then
        for _ in $(seq 300); do
            pkill -CONT -s "$held" || break
            sleep 0.1
        done
    fi
    if [ -n "$planted" ] && mountpoint -q "$planted"; then
        umount "$planted"
    fi
    if [ -n "$(state "$other")" ]; then
        dpkg --purge "$other" >/dev/null || true
    fi
    if [ -n "${debootstrap_was:-}" ] && { [ "$(state debootstrap)" != ii ] || [ -n "$(dpkg --audit)" ]; }; then
        say "installing debootstrap again, as it was" >&2
        dpkg --configure -a >/dev/null || true
        [ "$(state debootstrap)" = ii ] ||
            apt-get install --reinstall -y -qq --no-install-recommends debootstrap >/dev/null || true
    fi
    rm -rf --one-file-system -- "$root.tmp"
    rm -rf --one-file-system -- "$root" "$work"
    rm -f -- "$root.lock" "$root.use"
    exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A finished root to run in, copied from the seed.
copy_seed() {
    [ -e "$seed/.librarydesk-root" ] ||
        fail "$seed is no finished root; make it with scripts/debian13.sh or name one with LD_CHECK_SEED"
    rm -rf --one-file-system -- "$root" "$root.tmp"
    flock "$seed.lock" cp -a --reflink=auto "$seed" "$root"
}
# Runs debian13.sh with the command $1 in the check's root; its rc in `rc`, its output in `log`.
run() {
    log=$work/run$((++runs)).log
    LD_DEBIAN13_ROOT=$root bash scripts/debian13.sh --run "$1" >"$log" 2>&1 && rc=0 || rc=$?
    grep '^debian13.sh: ' "$log" || true
}

# debootstrap as it must be before a case that changes it; the package of the check's own built.
debootstrap_before() {
    # Left unpacked by an earlier case.
    [ -z "$(state "$other")" ] || dpkg --purge "$other" >/dev/null
    [ "$(state debootstrap)" = ii ] || fail "debootstrap is not installed on this machine"
    [ -z "$(dpkg --audit)" ] || fail "this machine's dpkg has work pending (dpkg --audit); finish it first"
    debootstrap_was=ii
    mkdir -p "$work/other/DEBIAN"
    printf '%s\n' "Package: $other" "Version: 1" "Architecture: all" \
        "Maintainer: LibraryDesk checks <root@localhost>" "Description: left unpacked by a check" \
        >"$work/other/DEBIAN/control"
    dpkg-deb -b "$work/other" "$work/other.deb" >/dev/null
}
# Fails unless this machine's dpkg has nothing pending but the check's own package, left unpacked.
host_finished() {
    [ "$(state debootstrap)" = ii ] || fail "the run left debootstrap $(state debootstrap), not set up"
    [ "$(state "$other")" = iU ] || fail "the run set up $other too, which is not its own"
    dpkg --audit | grep -v "^ $other " | grep -q '^ ' && { dpkg --audit >&2; fail "dpkg has work pending"; }
    apt-get check >"$work/check.log" 2>&1 || { cat "$work/check.log" >&2; fail "apt-get check failed"; }
}

check_debootstrap() {
    local version deb
    debootstrap_before
    version=$(dpkg-query -W -f='${Version}' debootstrap)
    deb=$(find /var/cache/apt/archives -maxdepth 1 -name "debootstrap_${version//:/%3a}_*.deb" | head -n 1)
    if [ -z "$deb" ]; then
        (cd "$work" && apt-get download -qq "debootstrap=$version")
        deb=$(find "$work" -maxdepth 1 -name 'debootstrap_*.deb')
    fi
    # As apt leaves them when it is killed: unpacked, their triggers not run.
    dpkg --no-triggers --unpack "$deb" "$work/other.deb" >/dev/null
    [ "$(state debootstrap)" = iU ] || fail "debootstrap was not left unpacked"
    run true
    [ "$rc" -eq 0 ] || { tail -n 20 "$log" >&2; fail "the run ended with rc $rc"; }
    grep -q '^debian13.sh: finishing the install of debootstrap' "$log" ||
        fail "the run did not say it finished the install of debootstrap"
    host_finished
}

check_killed() {
    local signal from pid i
    debootstrap_before
    dpkg --unpack "$work/other.deb" >/dev/null
    for signal in KILL TERM; do
        dpkg --remove debootstrap >/dev/null
        from=$(($(wc -l </var/log/dpkg.log) + 1))
        log=$work/run$((++runs)).log
        LD_DEBIAN13_ROOT=$root setsid bash scripts/debian13.sh --run true </dev/null >"$log" 2>&1 &
        pid=$! pgid=$!
        until tail -n "+$from" /var/log/dpkg.log | grep -q ' status unpacked debootstrap[: ]'; do
            kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; fail "the run ended before it unpacked debootstrap"; }
            sleep 0.02
        done
        # The dpkg that unpacked it (apt starts it in a session of its own), held where it is, so
        # that only the kill decides whether it goes on.
        held=$(pgrep -nx dpkg) || fail "no dpkg ran when debootstrap was unpacked"
        kill -STOP "$held"
        kill "-$signal" -- "-$pgid"
        wait "$pid" || true
        pgid=""
        for i in $(seq 20); do
            ps -o stat= -p "$held" | grep -qv Z || break
            sleep 0.1
        done
        if ps -o stat= -p "$held" | grep -qv Z; then
            fail "the kill with $signal left the install of debootstrap running: dpkg $held and what it runs"
        fi
        held=""
        say "killed with $signal: debootstrap $(state debootstrap), man-db $(state man-db)"
        run true
        [ "$rc" -eq 0 ] || { tail -n 20 "$log" >&2; fail "the run after the $signal ended with rc $rc"; }
        grep -q '^debian13.sh: finishing the install of debootstrap' "$log" ||
            fail "the run after the $signal did not say it finished the install of debootstrap"
        host_finished
    done
}

check_mount() {
    planted="$root.tmp/a user mount"
    mkdir -p "$planted" "$work/mine"
    echo kept >"$work/mine/file"
    mount --bind "$work/mine" "$planted"
    run true
    mountpoint -q "$planted" || fail "the run unmounted $planted"
    [ "$(cat "$planted/file")" = kept ] || fail "what is mounted at $planted changed"
    [ "$rc" -ne 0 ] || fail "the run went on"
    grep -qF "'$planted'" "$log" || { cat "$log" >&2; fail "the run did not name $planted"; }
    umount "$planted"
    planted=""
}

check_halfdone() {
    local admin=$root/var/lib/dpkg program=zbar-tools library
    library=$(dpkg-query --admindir="$admin" -W -f='${Depends}' "$program" | grep -o 'libzbar[^ ,]*')
    # Written to dpkg's journal, as dpkg does before it gets to its status file.
    dpkg-query --admindir="$admin" -s "$library" |
        sed 's/^Status: .*/Status: install reinstreq half-installed/' >"$admin/updates/0001"
    dpkg-query --admindir="$admin" -s "$program" |
        sed 's/^Status: .*/Status: install ok unpacked/' >"$admin/updates/0002"
    run 'dpkg --audit | grep . && exit 1; zbarimg --version >/dev/null'
    [ "$rc" -eq 0 ] || { tail -n 20 "$log" >&2; fail "the run ended with rc $rc"; }
    grep -q "^debian13.sh: repairing the packages .*$library" "$log" || fail "the run repaired nothing"
    ! grep -q '^debian13.sh: .*making the root anew' "$log" || fail "the run made the root anew"
}

check_unmet() {
    local admin=$root/var/lib/dpkg program=zbar-tools half library
    library=$(dpkg-query --admindir="$admin" -W -f='${Depends}' "$program" | grep -o 'libzbar[^ ,]*')
    half=$(dpkg-query --admindir="$admin" -W -f='${Depends}' poppler-utils | grep -o 'libpoppler[0-9]*')
    dpkg-query --admindir="$admin" -W >"$work/before"
    chroot "$root" dpkg --remove --force-depends "$library" >/dev/null 2>&1
    dpkg-query --admindir="$admin" -s "$half" |
        sed 's/^Status: .*/Status: install reinstreq half-installed/' >"$admin/updates/0001"
    dpkg-query --admindir="$admin" -s "$program" |
        sed 's/^Status: .*/Status: install ok unpacked/' >"$admin/updates/0002"
    run 'dpkg --audit | grep . && exit 1; apt-get check -qq && zbarimg --version >/dev/null &&
        pdftotext -v 2>/dev/null'
    [ "$rc" -eq 0 ] || { tail -n 20 "$log" >&2; fail "the run ended with rc $rc"; }
    grep -q "^debian13.sh: repairing the packages .*$half" "$log" || fail "the run repaired nothing"
    ! grep -q '^debian13.sh: .*making the root anew' "$log" || fail "the run made the root anew"
    # As the install it finishes would have: nothing it only recommends.
    dpkg-query --admindir="$admin" -W | diff "$work/before" - >&2 ||
        fail "the repaired root's packages differ from those it had"
}

check_dpkg() {
    rm "$root/usr/bin/dpkg"
    run 'dpkg --version >/dev/null'
    [ "$rc" -eq 0 ] || { tail -n 20 "$log" >&2; fail "the run ended with rc $rc"; }
    grep -q '^debian13.sh: .*making the root anew' "$log" || fail "the run did not make the root anew"
    [ -x "$root/usr/bin/dpkg" ] || fail "the root has no dpkg"
}

runs=0 start=$SECONDS
for c in $cases; do
    declare -F "check_$c" >/dev/null || fail "no case $c"
    copy_seed
    say "case $c"
    case_start=$SECONDS
    "check_$c"
    say "case $c passed in $((SECONDS - case_start))s"
done
say "passed in $(((SECONDS - start) / 60))m$(((SECONDS - start) % 60))s"
