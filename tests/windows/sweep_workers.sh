#!/usr/bin/env bash
# Under Wine: a sweep in two worker processes writes the very results.csv of the same sweep run in
# the sandbox's own process; stopped while they run, it ends them, keeps only finished runs, leaves no
# worker folder, and --resume finishes it to the same results. Arguments: wine, the program, a folder.
set -uo pipefail
wine=$1 exe=$2 out=$3
rm -rf "$out"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
sweep=(sweep getaway --seeds 40)
"$wine" "$exe" "${sweep[@]}" --jobs 1 --quiet --out "$out/in-process" || fail "the in-process sweep"
summary=$("$wine" "$exe" "${sweep[@]}" --jobs 2 --out "$out/workers" 2>&1)
grep -q "40 runs, 0 failed, .* in 2 worker processes" <<<"$summary" ||
    fail "the sweep did not run in two worker processes: $summary"
cmp "$out/in-process/results.csv" "$out/workers/results.csv" || fail "workers and one process differ"

"$wine" "$exe" "${sweep[@]}" --jobs 2 --quiet --stop-after 5 --out "$out/stopped" 2>"$out/stopped.err"
rc=$?
[ $rc -eq 130 ] || fail "stopped sweep: exit $rc, expected 130 ($(cat "$out/stopped.err"))"
[ ! -e "$out/stopped/runs" ] || fail "worker folders left: $(ls "$out/stopped/runs")"
grep -q ",failed," "$out/stopped/results.csv" && fail "runs cut short counted as failed"
# The order columns follow the host commands the runs used, so only the fields before them are held.
grep -vxFf <(cut -d, -f1-12 "$out/in-process/results.csv") <(cut -d, -f1-12 "$out/stopped/results.csv") &&
    fail "a kept row differs"
"$wine" "$exe" "${sweep[@]}" --jobs 2 --quiet --resume --out "$out/stopped" || fail "resume"
cmp "$out/in-process/results.csv" "$out/stopped/results.csv" || fail "the resumed sweep differs"

echo "$failures failed"
[ $failures -eq 0 ]
