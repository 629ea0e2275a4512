#!/usr/bin/env bash
# Kills runs of `scripts/debian13.sh test` at each stage and checks that every killed run leaves
# nothing mounted below the root and no process behind, and that the next run goes on from what it
# left: the last run must pass. Run as root: `bash scripts/check-debian13-kill.sh`.
#
# Not part of .ci/run: it makes a Debian 13 root from nothing more than once and builds and tests
# the checkout in it, which takes the better part of an hour. It starts by deleting the root it
# uses and this checkout's Debian 13 build folders (build-debian13, build-test-debian13), so that
# each stage has work to be killed in.
#
#   LD_DEBIAN13_ROOT  the root, by default a scratch one, /var/cache/librarydesk/debian13-killcheck,
#                     deleted again at the end when the check passed. Pointed at the kept root
#                     (/var/cache/librarydesk/debian13) the check leaves that finished and working.
#   LD_CHECK_STAGES   the kills in turn, as STAGE:SIGNAL with STAGE one of debootstrap (once
#                     debootstrap installs the core packages), install (while dpkg unpacks the
#                     packages of install-deps, which the kill must leave half installed), build
#                     (while the compiler runs) and tests (while the tests run); by default
#                     "debootstrap:TERM debootstrap:KILL install:TERM install:KILL build:KILL
#                     tests:TERM".
#   JOBS              as for debian13.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
scratch=/var/cache/librarydesk/debian13-killcheck
export LD_DEBIAN13_ROOT=${LD_DEBIAN13_ROOT:-$scratch}
stages=${LD_CHECK_STAGES:-debootstrap:TERM debootstrap:KILL install:TERM install:KILL build:KILL tests:TERM}
[ "$(id -u)" -eq 0 ] || { echo "check-debian13-kill.sh: run as root" >&2; exit 1; }
mkdir -p "$(dirname "$LD_DEBIAN13_ROOT")"
root=$(realpath -m -- "$LD_DEBIAN13_ROOT")
work=$(mktemp -d)
pgid=""

say() { printf '%s check-debian13-kill: %s\n' "$(date +%T)" "$*"; }
fail() {
    say "FAIL: $*" >&2
    exit 1
}

# What of a run is left: its processes (by process group, or by a root or working folder in the
# Debian root) and the mounts below the root or its .tmp in any mount namespace. Few processes, as
# a fork can take a tenth of a second on a loaded machine.
below='index(p, r "/") == 1 || index(p, r ".tmp") == 1 || p == r'
left_processes() {
    {
        [ -z "$pgid" ] || pgrep -g "$pgid" | sed 's/$/ (process group)/' || true
        find /proc -mindepth 2 -maxdepth 2 -regex '/proc/[0-9]+/\(root\|cwd\)' -printf '%h %l\n' \
            2>/dev/null | awk -v r="$root" '{ p = substr($0, index($0, " ") + 1) } '"$below"' {
                print substr($1, 7) " (" p ")" }'
    } | sort -u
}
left_mounts() {
    find /proc -mindepth 3 -maxdepth 3 -regex '/proc/[0-9]+/ns/mnt' -printf '%l %h\n' 2>/dev/null |
        sort -u -k1,1 | awk '{ sub("/ns$", "/mountinfo", $2); print $2 }' |
        xargs -r awk -v r="$root" '{ p = $5; gsub(/\\040/, " ", p) } '"$below"' {
            print p " (in the mount namespace of " FILENAME ")" }' 2>/dev/null | sort -u || true
}
# Waits until nothing of the run is left; fails naming what is, after 15 seconds.
check_left() {
    local i procs mounts
    for i in $(seq 30); do
        procs=$(left_processes) mounts=$(left_mounts)
        [ -z "$procs$mounts" ] && return 0
        sleep 0.5
    done
    [ -z "$procs" ] || say "processes left:" $procs >&2
    [ -z "$mounts" ] || say "mounts left: $mounts" >&2
    fail "$1 left ${mounts:+mounts}${procs:+${mounts:+ and }processes} behind"
}

# Unmounts what a failed stage left, so that the check too leaves the host as it found it.
cleanup() {
    local rc=$? m
    if [ -n "$pgid" ] && pgrep -g "$pgid" >/dev/null 2>&1; then
        kill -KILL -- "-$pgid" 2>/dev/null || true
        sleep 1
    fi
    for m in $(awk -v r="$root" 'index($5, r "/") == 1 || index($5, r ".tmp") == 1 { print $5 }' \
        /proc/self/mountinfo | tac); do
        say "unmounting what the check left: $m" >&2
        umount --recursive --lazy "$m" || true
    done
    rm -rf "$work"
    exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Starts `debian13.sh test` in a session and process group of its own.
start_run() {
    log=$work/run$((++runs)).log
    setsid bash scripts/debian13.sh test >"$log" 2>&1 &
    pid=$! pgid=$!
    started=$SECONDS
    [ "$(ps -o pgid= -p "$pid" | tr -d ' ')" = "$pid" ] || fail "the run got no process group of its own"
}
# A process in the root whose command line matches an extended regular expression (apt starts
# dpkg in a process group of its own).
running() {
    local p
    for p in $(pgrep -f "$1"); do
        [ "$(readlink "/proc/$p/root" 2>/dev/null)" = "$root" ] && return 0
    done
    return 1
}
reached() {
    case $1 in
    debootstrap) grep -q 'Installing core packages' "$log" ;;
    install) [ "$(grep -c '^Unpacking ' "$log")" -ge 20 ] && running '^(/usr/bin/)?dpkg .*--unpack' ;;
    build) running '(^|/)cc1plus ' ;;
    tests) running '(^|/)ctest ' && running '(^|/)test_' ;;
    esac
}

for m in $(awk -v r="$root" 'index($5, r "/") == 1 || index($5, r ".tmp") == 1 { print $5 }' \
    /proc/self/mountinfo); do
    fail "$m is mounted; unmount what is mounted below $root first"
done
say "deleting $root and the Debian 13 build folders"
rm -rf --one-file-system -- "$root" "$root.tmp" build-debian13 build-test-debian13
check_start=$SECONDS runs=0 report=()

for stage in $stages; do
    name=${stage%:*} signal=${stage#*:}
    start_run
    say "run $runs, to be killed with $signal in stage $name"
    until reached "$name"; do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" && rc=0 || rc=$?
            tail -n 30 "$log" >&2
            fail "run $runs ended with rc $rc before it reached stage $name"
        fi
        sleep 0.2
    done
    # Into the build and the tests a little, so that many of their processes run.
    case $name in build | tests) sleep 15 ;; esac
    reached_at=$((SECONDS - started))
    kill "-$signal" -- "-$pgid" || fail "run $runs ended before it was killed in stage $name"
    wait "$pid" && rc=0 || rc=$?
    check_left "run $runs, killed with $signal in stage $name,"
    pgid=""
    grep '^debian13.sh: ' "$log" || true
    # Else the next run has nothing to repair.
    if [ "$name" = install ] && [ -z "$(ls -A "$root/var/lib/dpkg/updates")" ] &&
        ! grep -qE '^Status: .* (half-installed|unpacked|half-configured)$' "$root/var/lib/dpkg/status"
    then
        fail "run $runs, killed with $signal in stage $name, left no package half installed"
    fi
    report+=("$(printf '%-12s %-4s killed after %4ds, nothing left after %ds more (rc %d)' \
        "$name" "$signal" "$reached_at" $((SECONDS - started - reached_at)) "$rc")")
    say "${report[-1]}"
done

start_run
say "run $runs, to a pass"
wait "$pid" && rc=0 || rc=$?
if [ "$rc" -ne 0 ]; then
    tail -n 30 "$log" >&2
    fail "run $runs, after the killed ones, ended with rc $rc"
fi
check_left "run $runs, which passed,"
pgid=""
grep '^debian13.sh: ' "$log" || true
report+=("$(printf '%-17s passed after %4ds' last $((SECONDS - started)))")
grep -E '^(100% tests passed|[0-9]+% tests passed)' "$log" || true

if [ "$root" = "$scratch" ]; then
    rm -rf --one-file-system -- "$root"
fi
say "passed in $(((SECONDS - check_start) / 60))m$(((SECONDS - check_start) % 60))s:"
printf '  %s\n' "${report[@]}"
