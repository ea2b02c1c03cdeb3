#!/usr/bin/env bash
# Measures the replay at scale on this machine: a busy town (100 cops) run for MINUTES (default
# 10) without and with a replay (CPU time and peak memory of the whole run), the page's size, and
# how the page opens and plays in headless Chromium at 1x and 16x.
# Usage: tools/measure_replay.sh [MINUTES]    (the sandbox: $VIGILOR_SANDBOX or the default build's)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
sandbox=${VIGILOR_SANDBOX:-$repo/build/default/bin/vigilor-sandbox}
minutes=${1:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
node "$repo/tests/browser/busy_town.js" "$minutes" > "$work/scenario.json"

# Prints "cpu_s peak_mb" of one run of the sandbox with the given extra arguments.
measure() {
    /usr/bin/time -f "%U %S %M" -o "$work/time" "$sandbox" run "$work/scenario.json" --dir "$work/game" --quiet "$@"
    read -r user sys peak_kb < "$work/time"
    awk -v u="$user" -v s="$sys" -v m="$peak_kb" 'BEGIN { printf "%.2f %.0f", u + s, m / 1024 }'
}

read -r plain_cpu plain_mb <<< "$(measure)"
read -r replay_cpu replay_mb <<< "$(measure --replay "$work/replay.html")"
page_mb=$(awk -v b="$(stat -c %s "$work/replay.html")" 'BEGIN { printf "%.1f", b / 1e6 }')
echo "run of $minutes min, 100 cops"
echo "  without replay: cpu ${plain_cpu} s, peak ${plain_mb} MB"
echo "  with replay:    cpu ${replay_cpu} s, peak ${replay_mb} MB ($(awk -v a="$replay_cpu" -v b="$plain_cpu" 'BEGIN { printf "%.2f", a / b }')x the cpu)"
echo "  page: ${page_mb} MB"
if [ -x "${CHROMIUM:-/usr/bin/chromium}" ] && [ -d "$repo/tests/browser/node_modules" ]; then
    for speed in 1 16; do
        echo "  in the browser at ${speed}x: $(node "$repo/tests/browser/measure_replay.js" "$work/replay.html" "$speed")"
    done
else
    echo "  (no browser measure: run tests/browser/run.sh once to install Chromium and its driver)"
fi
