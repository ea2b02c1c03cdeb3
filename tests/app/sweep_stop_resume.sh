#!/usr/bin/env bash
# Stopping and resuming a sweep: Ctrl-C, SIGTERM or the test hook stop it with exit 130, a message,
# and results.csv and a report marked as stopped for the runs finished; no worker folders remain;
# --resume finishes it without rerunning a run, to results equal to an uninterrupted sweep's, and
# refuses a folder that holds another sweep.
# Usage: sweep_stop_resume.sh SANDBOX_PROGRAM
set -uo pipefail
# shellcheck source=../support/cli_test_lib.sh
source "$(dirname "$0")/../support/cli_test_lib.sh"
sweep=(demo --seeds 6 --vary PursuitGraceMs=1500,6000 --jobs 2 --quiet)
"$bin" sweep "${sweep[@]}" --out "$work/whole" || fail "the uninterrupted sweep"

# stopped NAME DIR RUNS RC ERRFILE: what a sweep of RUNS runs that was stopped must leave.
stopped() {
    local name=$1 dir=$2 runs=$3 rc=$4 err=$5
    [ "$rc" -eq 130 ] || fail "$name: exit $rc, expected 130"
    grep -q "stopped: stopped after [0-9]* of $runs runs" "$err" || fail "$name: no message: $(cat "$err")"
    grep -q "Stopped after [0-9]* of $runs runs" "$dir/report.html" || fail "$name: report not marked stopped"
    grep -q '"stopped":true' "$dir/sweep.json" || fail "$name: record not marked stopped"
    [ ! -e "$dir/runs" ] || fail "$name: worker folders left: $(ls "$dir/runs")"
    # A run cut short by the stop is not finished, so not failed either.
    grep -q ",failed," "$dir/results.csv" && fail "$name: runs counted as failed: $(grep ,failed, "$dir/results.csv")"
}

# The test hook: a stop after 5 runs keeps every run finished by then.
"$bin" sweep "${sweep[@]}" --out "$work/hook" --stop-after 5 2>"$work/hook.err"
stopped "stop after 5" "$work/hook" 18 $? "$work/hook.err"
kept=$(($(wc -l <"$work/hook/results.csv") - 1))
[ "$kept" -ge 5 ] && [ "$kept" -lt 18 ] || fail "stop after 5: $kept runs kept"
grep -q "of 18 runs" "$work/hook.err" && grep -q "after $kept of" "$work/hook.err" ||
    fail "stop after 5: the message does not count the $kept runs kept"
# Every kept row is the uninterrupted sweep's row.
grep -vxFf "$work/whole/results.csv" "$work/hook/results.csv" && fail "stop after 5: a kept row differs"

# A different sweep in the folder is refused, and nothing there changes.
cp "$work/hook/results.csv" "$work/kept.csv"
grace=PursuitGraceMs=1500,6000
for other in "stars-fade --seeds 6 --vary $grace" "demo --seeds 7 --vary $grace" \
    "demo --seeds 6 --vary PursuitGraceMs=1500,6001" "demo --seeds 6 --vary $grace --seconds 30" \
    "demo --seeds 6 --vary $grace --shard 1/2"; do
    # shellcheck disable=SC2086
    expect "resume with $other" 2 "holds a different sweep" "$bin" sweep $other --quiet --resume --out "$work/hook"
done
cmp -s "$work/kept.csv" "$work/hook/results.csv" || fail "a refused resume changed results.csv"
expect "resume of an empty folder" 2 "holds no sweep record" "$bin" sweep "${sweep[@]}" --resume --out "$work/nothing"

# A kept run is not run again: a value changed in the record comes back unchanged.
cp -r "$work/hook" "$work/marked"
sed -i '0,/"seenMs":[0-9]*/s//"seenMs":424242/' "$work/marked/sweep.json"
"$bin" sweep "${sweep[@]}" --resume --out "$work/marked" || fail "resume of the marked copy"
grep -q ",424.242," "$work/marked/results.csv" || fail "resume ran a finished run again"

"$bin" sweep "${sweep[@]}" --resume --out "$work/hook" || fail "resume"
cmp -s "$work/whole/results.csv" "$work/hook/results.csv" ||
    fail "resumed results differ: $(diff "$work/whole/results.csv" "$work/hook/results.csv")"
grep -q "Stopped after" "$work/hook/report.html" && fail "the finished report still says stopped"

# The signals, sent while the runs go: long runs, and far more than a second takes, so that the stop
# comes in the middle of the sweep and of some runs. Ctrl-C on a terminal reaches the whole process
# group; SIGTERM comes to the sweep alone.
for signal in INT TERM; do
    dir="$work/$signal"
    setsid "$bin" sweep getaway --seeds 4000 --seconds 600 --jobs 2 --quiet --out "$dir" 2>"$dir.err" &
    pid=$!
    for _ in $(seq 100); do
        [ -d "$dir/runs/worker-2" ] && break
        sleep 0.1
    done
    sleep 1
    if [ $signal = INT ]; then kill -INT -- -$pid; else kill -TERM $pid; fi
    wait $pid
    rc=$?
    stopped "SIG$signal" "$dir" 4000 $rc "$dir.err"
done

# A new sweep into the folder of an older one replaces its results and report, even when stopped.
"$bin" sweep stars-fade --seeds 30 --jobs 1 --quiet --out "$work/whole" --stop-after 1 2>/dev/null
grep -q "^demo," "$work/whole/results.csv" && fail "an older sweep's rows stayed in results.csv"
grep -q "demo" "$work/whole/report.html" && fail "an older sweep's report stayed"

finish
