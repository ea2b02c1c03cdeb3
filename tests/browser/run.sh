#!/usr/bin/env bash
# The replay viewer's tests in headless Chromium: installs what they need, then runs them.
# The sandbox under test: $VIGILOR_SANDBOX, or the default build's.
# --repeat N runs the suite N times and stops at the first failing run: a test that fails once in
# twenty is a fault, not luck.
set -euo pipefail
cd "$(dirname "$0")"
repeat=1
while (($#)); do
    case "$1" in
    --repeat)
        [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || { echo "run.sh: --repeat needs a count of 1 or more" >&2; exit 2; }
        repeat=$2
        shift 2
        ;;
    *)
        echo "run.sh: unknown argument '$1' (use: run.sh [--repeat N])" >&2
        exit 2
        ;;
    esac
done
../../tools/deps.sh --browser --js
for ((i = 1; i <= repeat; i++)); do
    ((repeat == 1)) || echo "== browser suite, run $i of $repeat"
    node --test || { echo "run.sh: run $i of $repeat failed" >&2; exit 1; }
done
((repeat == 1)) || echo "== browser suite: $repeat of $repeat runs passed"
