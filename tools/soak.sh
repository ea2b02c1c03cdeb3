#!/usr/bin/env bash
# The long soak, not a CI step: random episodes, each run twice, checked as the test suite's soak
# checks its share (host values given back, no refused script code, the same log twice), under the
# address and undefined-behaviour sanitizers. Run it before a release or after a change to the
# plugin's timing or the host's police, and overnight now and then.
# Usage: tools/soak.sh [EPISODES (default 2000)] [FIRST_SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
export VIGILOR_SOAK_SEEDS=${1:-2000}
[ $# -ge 2 ] && export VIGILOR_SOAK_FIRST_SEED=$2
tools/deps.sh
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize --target vigilor vigilor_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    build/sanitize/bin/vigilor_tests --gtest_filter='LongSoakTest.*'
