#!/usr/bin/env bash
# Full disks and shared folders: every command that cannot write its whole result must fail (exit 3,
# naming the file and the reason), leave an earlier result as it was, and leave no ".partial" file;
# a run whose plugin log was cut is no success; two sweeps never share an output folder.
# Needs root to mount a small tmpfs; exits 77 (skipped) where it cannot.
# Usage: full_disk.sh SANDBOX_PROGRAM
set -uo pipefail
bin=$(realpath "$1")
work=$(mktemp -d)
disk="$work/disk"
mkdir -p "$disk"
cleanup() {
    umount "$disk/sweep/runs" 2>/dev/null
    umount "$disk" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
if [ "$(id -u)" -ne 0 ] || ! mount -t tmpfs -o size=8m tmpfs "$disk" 2>/dev/null; then
    echo "skipped: mounting a small tmpfs needs root"
    exit 77
fi

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# Fills what is left of the disk with one file; "unfill" frees it again.
fill() { dd if=/dev/zero of="$disk/filler" bs=64k status=none 2>/dev/null; }
unfill() { rm -f "$disk/filler"; }
# expect_failure NAME EXPECTED_TEXT COMMAND...: exit 3 and the text on standard error.
expect_failure() {
    local name=$1 text=$2
    shift 2
    local err rc
    err=$("$@" 2>&1 >/dev/null)
    rc=$?
    [ $rc -eq 3 ] || fail "$name: exit $rc, expected 3 ($err)"
    grep -qF -- "$text" <<<"$err" || fail "$name: message '$err' lacks '$text'"
}
no_partials() {
    local left
    left=$(find "$disk" "$work" -name '*.partial' 2>/dev/null)
    [ -z "$left" ] || fail "$1: left behind: $left"
}

# An earlier --json result survives a full disk whole.
"$bin" run stars-fade --quiet --dir "$work/run1" --json "$disk/out.json" || fail "setup: run --json"
before=$(sha256sum <"$disk/out.json")
fill
expect_failure "run --json on a full disk" "No space left on device" \
    "$bin" run stars-fade --quiet --dir "$work/run2" --json "$disk/out.json"
[ "$(sha256sum <"$disk/out.json")" = "$before" ] || fail "run --json: the earlier out.json changed"
expect_failure "check --json on a full disk" "No space left on device" \
    "$bin" check stars-fade --quiet --dir "$work/run3" --json "$disk/out.json"
[ "$(sha256sum <"$disk/out.json")" = "$before" ] || fail "check --json: the earlier out.json changed"
no_partials "--json"

# The module cannot be installed into a full game folder.
expect_failure "install on a full disk" "No space left on device" \
    "$bin" run stars-fade --quiet --dir "$disk/game"
no_partials "install"

# A replay page is written whole or not at all.
unfill
"$bin" run stars-fade --quiet --dir "$work/run4" --replay "$disk/replay.html" || fail "setup: replay"
before=$(sha256sum <"$disk/replay.html")
fill
expect_failure "replay on a full disk" "No space left on device" \
    "$bin" run stars-fade --quiet --dir "$work/run5" --replay "$disk/replay.html"
[ "$(sha256sum <"$disk/replay.html")" = "$before" ] || fail "replay: the earlier page changed"
no_partials "replay"

# The disk fills while the plugin writes its log: the run is no success, in run and in check. The
# game folder holds the very module the program loads, so nothing is installed and the disk can be
# filled to just short of the log's end beforehand.
unfill
rm -rf "${disk:?}"/*
mkdir -p "$disk/game"
cp "$(dirname "$bin")/vigilor.so" "$disk/game/vigilor.so"
export VIGILOR_MODULE="$disk/game/vigilor.so"
"$bin" run demo --quiet --dir "$disk/game" >/dev/null 2>&1 || fail "setup: a demo run that fits"
log_bytes=$(stat -c %s "$disk/game/vigilor.log")
[ "$log_bytes" -gt 4096 ] || fail "setup: the demo's log is only $log_bytes bytes"
rm -f "$disk/game"/vigilor*.log
avail=$(df --output=avail -B1 "$disk" | tail -n 1)
dd if=/dev/zero of="$disk/filler" bs=4k count=$(((avail - 12288) / 4096)) status=none 2>/dev/null
expect_failure "run whose log is cut" "the game folder's disk is full" "$bin" run demo --quiet --dir "$disk/game"
rm -f "$disk/game"/vigilor*.log
expect_failure "check whose log is cut" "the game folder's disk is full" \
    "$bin" check demo --quiet --dir "$disk/game"
unset VIGILOR_MODULE
unfill

# A sweep's report on a full disk. Its runs go to a disk of their own, so that they finish and only
# the results cannot be written (a sweep removes its worker folders before it writes them), and the
# earlier report is held open, so that the sweep's removing it frees no space either.
rm -rf "${disk:?}"/*
"$bin" sweep stars-fade --seeds 2 --jobs 1 --quiet --out "$disk/sweep" >/dev/null 2>&1 || fail "setup: sweep"
before=$(sha256sum <"$disk/sweep/results.csv")
mkdir -p "$disk/sweep/runs"
mount -t tmpfs -o size=16m tmpfs "$disk/sweep/runs" || fail "setup: a disk for the runs"
exec 3<"$disk/sweep/report.html"
fill
"$bin" sweep stars-fade --seeds 2 --jobs 1 --quiet --out "$disk/sweep" >/dev/null 2>&1
rc=$?
exec 3<&-
[ $rc -ne 0 ] || fail "sweep on a full disk exited 0"
[ "$(sha256sum <"$disk/sweep/results.csv")" = "$before" ] || fail "sweep: the earlier results.csv changed"
no_partials "sweep"
umount "$disk/sweep/runs"
unfill

echo "$failures failed"
[ $failures -eq 0 ]
