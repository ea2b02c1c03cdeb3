#!/usr/bin/env bash
# Usage: tools/compare_logs.sh REV
#
# Runs every built-in scenario with the build of REV and with this tree's build, and reports each
# scenario whose vigilor.log, timed log or replay page differs; then one sweep of the demo with both
# builds, whose results.csv must match too. REV is built in a scratch worktree under build/; this tree is
# built with the default preset. Exit 0 when every log is byte-identical, 1 when any differs, 2 on
# bad usage or a failed build.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 REV" >&2
    exit 2
fi
cd "$(dirname "$0")/.."
root=$(pwd)
rev=$(git rev-parse --verify "$1^{commit}") || { echo "$0: not a revision: $1" >&2; exit 2; }

scratch="$root/build/compare"
base_src="$scratch/src-${rev:0:12}"
runs="$scratch/runs"
mkdir -p "$scratch"

if [ ! -d "$base_src" ]; then
    git worktree add --quiet --detach "$base_src" "$rev"
fi

build() {  # source dir, build dir
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIGILOR_BUILD_BENCH=OFF >/dev/null
    cmake --build "$2" --target vigilor vigilor-sandbox >/dev/null
}
echo "building $1 (${rev:0:12}) and this tree"
build "$base_src" "$base_src/build/compare" || exit 2
# This tree through its own preset, so that the options of its build folder stay as they are.
{ cmake --preset default >/dev/null && cmake --build --preset default --target vigilor vigilor-sandbox >/dev/null; } ||
    exit 2
base_bin="$base_src/build/compare/bin/vigilor-sandbox"
this_bin="$root/build/default/bin/vigilor-sandbox"

names() { "$1" list | awk '{print $1}' | sort; }
mapfile -t common < <(comm -12 <(names "$base_bin") <(names "$this_bin"))
only=$(comm -3 <(names "$base_bin") <(names "$this_bin") | tr -d '\t' | tr '\n' ' ')
[ -n "$only" ] && echo "not in both builds (not compared): $only"

rm -rf "$runs"
differ=0
for name in "${common[@]}"; do
    for side in base this; do
        bin=$base_bin
        [ $side = this ] && bin=$this_bin
        "$bin" run "$name" --quiet --dir "$runs/$side/$name" --replay "$runs/$side/$name/replay.html" \
            >/dev/null 2>&1 || true
    done
    for file in vigilor.log vigilor.timed.log replay.html; do
        base_file="$runs/base/$name/$file"
        this_file="$runs/this/$name/$file"
        # A run in which the plugin never starts leaves no log; that is the same on both sides.
        [ ! -e "$base_file" ] && [ ! -e "$this_file" ] && continue
        if ! cmp -s "$base_file" "$this_file"; then
            echo "DIFFERS: $name $file (diff $base_file $this_file)"
            differ=1
        fi
    done
done
for side in base this; do
    bin=$base_bin
    [ $side = this ] && bin=$this_bin
    "$bin" sweep demo --seeds 4 --vary PursuitGraceMs=1500,6000 --out "$runs/sweep-$side" --quiet \
        >/dev/null 2>&1 || true
done
if ! cmp -s "$runs/sweep-base/results.csv" "$runs/sweep-this/results.csv"; then
    echo "DIFFERS: sweep results.csv (diff $runs/sweep-base/results.csv $runs/sweep-this/results.csv)"
    differ=1
fi
echo "${#common[@]} scenarios and a sweep compared; $([ $differ -eq 0 ] && echo "all identical" || echo "some differ")"
exit $differ
