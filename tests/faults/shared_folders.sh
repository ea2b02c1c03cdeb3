#!/usr/bin/env bash
# Output folders and stops: a second sweep into a folder another sweep is writing is refused with the holder's
# process id; a sweep or a run into a folder holding files the sandbox did not write is refused
# unless --force, and nothing in it is touched.
# Usage: shared_folders.sh SANDBOX_PROGRAM
set -uo pipefail
# shellcheck source=../support/cli_test_lib.sh
source "$(dirname "$0")/../support/cli_test_lib.sh"
first=""
cleanup() {
    [ -n "$first" ] && kill "$first" 2>/dev/null && wait "$first" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Two sweeps at once.
"$bin" sweep demo --seeds 400 --jobs 1 --quiet --out "$work/sweep" >/dev/null 2>&1 &
first=$!
for _ in $(seq 100); do
    [ -s "$work/sweep/.vigilor-sweep.lock" ] && break
    sleep 0.1
done
expect "a second sweep into the same folder" 2 "another sweep (process $first)" \
    "$bin" sweep demo --seeds 2 --quiet --out "$work/sweep"
kill "$first" 2>/dev/null
wait "$first" 2>/dev/null
first=""
# The killed sweep's hold ended with it.
"$bin" sweep stars-fade --seeds 1 --jobs 1 --quiet --out "$work/sweep" >/dev/null 2>&1 ||
    fail "a sweep after the holder was killed"

# Folders holding somebody else's files.
mkdir -p "$work/mine"
echo "keep me" >"$work/mine/notes.txt"
echo "[Settings]" >"$work/mine/vigilor.ini"
expect "sweep into a foreign folder" 2 "holds files the sandbox did not write" \
    "$bin" sweep stars-fade --seeds 1 --quiet --out "$work/mine"
expect "run into a foreign folder" 2 "holds files the sandbox did not write" \
    "$bin" run stars-fade --quiet --dir "$work/mine"
[ -f "$work/mine/vigilor.ini" ] || fail "the user's vigilor.ini was removed"
[ ! -e "$work/mine/results.csv" ] || fail "a refused sweep wrote results.csv"
"$bin" run stars-fade --quiet --force --dir "$work/mine" >/dev/null 2>&1 || fail "run --force"
grep -q "keep me" "$work/mine/notes.txt" || fail "run --force touched another file"

# A run stopped by Ctrl-C says so and leaves its log as the unfinished log.
"$bin" run demo --quiet --seconds 36000 --dir "$work/stopped" >/dev/null 2>"$work/stopped.err" &
run=$!
for _ in $(seq 100); do
    [ -s "$work/stopped/vigilor.log" ] && break
    sleep 0.1
done
kill -INT "$run"
wait "$run"
rc=$?
[ $rc -eq 130 ] || fail "a run stopped by SIGINT exited $rc, expected 130"
grep -q "stopped: stopped at" "$work/stopped.err" || fail "a stopped run did not say so: $(cat "$work/stopped.err")"
[ ! -e "$work/stopped/vigilor.log" ] || fail "a stopped run left vigilor.log"
[ -s "$work/stopped/vigilor.unfinished.log" ] || fail "a stopped run left no vigilor.unfinished.log"

finish
