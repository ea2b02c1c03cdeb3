#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset, clang) and runs each for SECONDS (default 30), starting
# from its seed corpus in fuzz/corpus/NAME/. Inputs found so far are kept in build/fuzz/corpus/NAME/,
# so later runs go on from there. Every input in fuzz/regressions/NAME/ is run once first: these are
# crashes found earlier, which must stay fixed. A crash leaves its input in build/fuzz/crashes/.
# Usage: tools/fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(settings_reader scenario_loader script_interpreter)

tools/deps.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

bin=build/fuzz/bin
crashes=build/fuzz/crashes
mkdir -p "$crashes"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
for name in "${targets[@]}"; do
    fuzzer="$bin/${name}_fuzzer"
    if compgen -G "fuzz/regressions/$name/*" >/dev/null; then
        echo "== $name: earlier crashes"
        "$fuzzer" fuzz/regressions/"$name"/*
    fi
    work=build/fuzz/corpus/$name
    mkdir -p "$work"
    seeds=(fuzz/corpus/"$name")
    # The built-in scenarios are good seeds for the loader.
    [ "$name" = scenario_loader ] && seeds+=(scenarios)
    echo "== $name: ${seconds} s"
    "$fuzzer" "$work" "${seeds[@]}" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$crashes/$name-" -print_final_stats=1 2>&1 | grep -v "^#[0-9]" || {
        echo "fuzz: $name failed; the input is in $crashes/"
        exit 1
    }
done
