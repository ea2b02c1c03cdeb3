#!/usr/bin/env bash
# Usage: tools/mutate.sh [--list FILE] [REGEX]
#        tools/mutate.sh --operators N [--seed S] PATH...
#
# Puts each fault of the list (tools/mutations.txt: kind, file, exact original text, replacement,
# TAB between) into the tree one at a time, rebuilds incrementally with the default preset, and runs
# the suite until its first failure. A fault is killed when the suite fails, survives when it passes;
# one that does not build is counted apart. The file is always put back from a copy, whatever
# happens; leave the tree alone while it runs. Prints the kill rate and the survivors; exit 0 when
# every fault that built was killed, 1 otherwise.
# REGEX picks the lines to run (grep -E on the whole line), e.g. 'boundary' or 'self_defence'.
# --operators makes the faults itself instead (tools/mutate_operators.py: flipped comparisons, nudged
# numbers, dropped assignments, swapped && and ||, early returns that never or always happen) over
# the C++ files under the PATHs, and runs N of them drawn with seed S (default 1). The kill rate is
# also given per folder.
# Not a CI step: docs/testing.md says when to run it.
set -uo pipefail

repo=$(realpath "$(dirname "$0")/..")
work=$(mktemp -d)
backup=""
target=""

restore() {
    if [ -n "$target" ] && [ -n "$backup" ]; then
        cp "$backup" "$target"
        target=""
    fi
}
trap 'restore; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
list=$repo/tools/mutations.txt
pick=.
if [ "${1:-}" = "--list" ]; then
    list=$(realpath "$2")
    shift 2
    pick=${1:-.}
elif [ "${1:-}" = "--operators" ]; then
    [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || { echo "$0: --operators needs a count of 1 or more" >&2; exit 2; }
    sample=$2
    seed=1
    shift 2
    if [ "${1:-}" = "--seed" ]; then
        seed=$2
        shift 2
    fi
    [ $# -gt 0 ] || { echo "$0: --operators needs the files or folders to make faults in" >&2; exit 2; }
    list=$work/operators.txt
    # File names as the list holds them: from the top of the tree.
    paths=()
    for p in "$@"; do paths+=("$(realpath --relative-to="$repo" "$p")"); done
    (cd "$repo" && python3 tools/mutate_operators.py --sample "$sample" --seed "$seed" "${paths[@]}") >"$list" || exit 2
else
    pick=${1:-.}
fi
cd "$repo"
# What the suite runs; the benchmarks are left out.
targets="vigilor vigilor_tests vigilor-sandbox"

# The suite: the unit tests in one process first (one start instead of
# hundreds, and most faults fall there), then the tests that drive the programs (no dot in their names).
run_suite() {
    timeout 600 build/default/bin/vigilor_tests --gtest_brief=1 >"$work/test.log" 2>&1 &&
        ctest --preset default -j2 --stop-on-failure --timeout 120 -E '[.]' >>"$work/test.log" 2>&1
}

echo "building the tree as it is"
cmake --preset default >/dev/null && cmake --build --preset default --target $targets >/dev/null || {
    echo "$0: the tree does not build as it is" >&2
    exit 2
}

echo "running the suite on the tree as it is"
ctest --preset default -j2 --timeout 120 >"$work/test.log" 2>&1 || {
    echo "$0: the suite fails without any fault; fix that first:" >&2
    grep -E '\*\*\*(Failed|Timeout|Exception)' "$work/test.log" >&2
    exit 2
}

killed=0
survived=0
unbuilt=0
stale=0
survivors=()
n=0
# Per folder: faults that built, and those killed.
declare -A folderBuilt folderKilled
while IFS=$'\t' read -r -u 3 kind file original replacement; do
    case "$kind" in '#'* | '') continue ;; esac
    printf '%s\t%s\t%s\t%s\n' "$kind" "$file" "$original" "$replacement" | grep -Eq -- "$pick" || continue
    n=$((n + 1))
    backup="$work/backup"
    cp "$file" "$backup"
    target=$file
    if ! python3 tools/mutate_apply.py "$file" "$original" "$replacement"; then
        stale=$((stale + 1))
        restore
        continue
    fi
    label="$kind $file: $original"
    folder=$(dirname "$file")
    if ! cmake --build --preset default --target $targets >"$work/build.log" 2>&1; then
        unbuilt=$((unbuilt + 1))
        echo "no build  $label"
    elif run_suite; then
        survived=$((survived + 1))
        folderBuilt[$folder]=$((${folderBuilt[$folder]:-0} + 1))
        survivors+=("$label")
        echo "SURVIVED  $label"
    else
        killed=$((killed + 1))
        folderBuilt[$folder]=$((${folderBuilt[$folder]:-0} + 1))
        folderKilled[$folder]=$((${folderKilled[$folder]:-0} + 1))
        by=$(grep -m1 -E '\*\*\*(Failed|Timeout|Exception)|^\[  FAILED  \]' "$work/test.log" |
            sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/; s/^\[  FAILED  \] ([^ ]+).*/\1/')
        echo "killed    $label (by ${by:-?})"
    fi
    restore
done 3<"$list"

echo "rebuilding the tree as it is"
cmake --build --preset default --target $targets >/dev/null
built=$((killed + survived))
echo "faults: $n, built: $built, killed: $killed, survived: $survived, did not build: $unbuilt, stale: $stale"
[ "$built" -gt 0 ] && echo "kill rate: $((100 * killed / built))% ($killed of $built)"
for f in $(printf '%s\n' "${!folderBuilt[@]}" | sort); do
    k=${folderKilled[$f]:-0}
    echo "  $f: $((100 * k / folderBuilt[$f]))% ($k of ${folderBuilt[$f]})"
done
for s in "${survivors[@]}"; do echo "survivor: $s"; done
[ "$survived" -eq 0 ] && [ "$stale" -eq 0 ]
