#!/usr/bin/env bash
# A sweep split into four shards run through GNU parallel, then merged: the merged results.csv is the
# one sweep's, byte for byte, and the replay pages are all there. Bad --shard values and incomplete sets of shards are refused with exit 2,
# saying which. Skipped (exit 77) when GNU parallel is not installed.
# Usage: sweep_shards_parallel.sh SANDBOX_PROGRAM
set -uo pipefail
if ! parallel --version 2>/dev/null | grep -q "GNU parallel"; then
    echo "skipped: GNU parallel is not installed (Debian package parallel; tools/deps.sh installs it)"
    exit 77
fi
# shellcheck source=../support/cli_test_lib.sh
source "$(dirname "$0")/../support/cli_test_lib.sh"
sweep=(sweep demo stars-fade --seeds 5 --vary PursuitGraceMs=1500,6000 --jobs 1 --quiet --replays 2)

"$bin" "${sweep[@]}" --out "$work/one" || fail "the single sweep"
parallel --halt now,fail=1 "$bin" "${sweep[@]}" --shard {}/4 --out "$work/shard-{}" ::: 1 2 3 4 ||
    fail "the shards under parallel"
"$bin" sweep merge "$work"/shard-{4,2,3,1} --out "$work/merged" --quiet || fail "merge"
cmp "$work/one/results.csv" "$work/merged/results.csv" ||
    fail "merged results differ: $(diff "$work/one/results.csv" "$work/merged/results.csv")"
# The shards' replay pages come together too, each linked from the merged report.
pages() { (cd "$1" && find replays -name '*.html' | sort); }
[ "$(pages "$work/merged")" = "$(pages "$work/one")" ] || fail "merged replays: $(pages "$work/merged")"
[ "$(pages "$work/one" | wc -l)" -eq 12 ] || fail "replays of the single sweep: $(pages "$work/one")"
for page in $(pages "$work/merged"); do
    grep -qF "href=\"$page\"" "$work/merged/report.html" || fail "the merged report does not link $page"
done
grep -q "shard 2 of 4" "$work/shard-2/report.html" || fail "a shard's report does not say it is one"
grep -q "shard" "$work/merged/report.html" && fail "the merged report says it is a shard"

for bad in 0/4 5/4 4 x/4 2/0; do
    expect "--shard $bad" 2 "--shard $bad: expected K/N" "$bin" "${sweep[@]}" --shard "$bad" --out "$work/bad"
done
expect "a missing shard" 2 "missing shards: 3/4" \
    "$bin" sweep merge "$work"/shard-{1,2,4} --out "$work/incomplete"
expect "a shard given twice" 2 "shard 2/4 given twice" \
    "$bin" sweep merge "$work"/shard-{1,2,2,3,4} --out "$work/twice"
"$bin" sweep demo --seeds 4 --jobs 1 --quiet --shard 3/4 --out "$work/other" || fail "another sweep's shard"
expect "a shard of another sweep" 2 "holds a different sweep" \
    "$bin" sweep merge "$work"/shard-{1,2} "$work/other" "$work/shard-4" --out "$work/mixed"
[ ! -e "$work/incomplete/results.csv" ] && [ ! -e "$work/mixed/results.csv" ] ||
    fail "a refused merge wrote results"

finish
