#!/usr/bin/env bash
# Builds the sandbox and the module (preset "default", optimised with debug info) and prints the
# instruction-count table of docs/performance.md. Options: --quick (100 and 139 cops, shorter runs),
# --work DIR (keep the scenarios, runs and callgrind files there), --no-build.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build=1
args=()
for a in "$@"; do
    case "$a" in
        --no-build) build=0 ;;
        *) args+=("$a") ;;
    esac
done

command -v valgrind >/dev/null || { echo "valgrind is needed: apt-get install valgrind" >&2; exit 2; }
cd "$root"
if [[ $build == 1 ]]; then
    [[ -f build/default/build.ninja ]] || cmake --preset default >/dev/null
    cmake --build --preset default --target vigilor vigilor-sandbox >/dev/null
fi
exec python3 "$root/bench/callgrind_table.py" --sandbox "$root/build/default/bin/vigilor-sandbox" \
    --scenario "$root/bench/scenarios/stress-town.json" "${args[@]+"${args[@]}"}"
