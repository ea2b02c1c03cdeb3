#!/usr/bin/env bash
# Under Wine: a sweep in two worker processes writes the very results.csv of the same sweep run in
# the sandbox's own process. Arguments: wine, the sandbox program, a scratch folder.
set -euo pipefail
wine=$1 exe=$2 out=$3
rm -rf "$out"
"$wine" "$exe" sweep getaway --seeds 40 --jobs 1 --quiet --out "$out/in-process"
summary=$("$wine" "$exe" sweep getaway --seeds 40 --jobs 2 --out "$out/workers" 2>&1)
if ! grep -q "40 runs, 0 failed, .* in 2 worker processes" <<<"$summary"; then
    echo "FAIL: the sweep did not run in two worker processes:"
    echo "$summary"
    exit 1
fi
cmp "$out/in-process/results.csv" "$out/workers/results.csv"
echo "results.csv of two workers equals the in-process one"
