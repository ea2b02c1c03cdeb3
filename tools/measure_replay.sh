#!/usr/bin/env bash
# Measures the replay at scale on this machine: a busy town (100 cops) run for MINUTES (default
# 10) without and with a replay (CPU time and peak memory of the whole run), the page's size, and
# how the page opens and plays in headless Chromium at 1x and 16x. Each figure is taken ROUNDS
# times (default 3) and given as best / median, with the load average, since other work on the
# machine moves them. CALLGRIND=1 adds the instruction count of a 1-minute run with and without a
# replay, which the load does not move.
# Usage: [ROUNDS=n] [CALLGRIND=1] tools/measure_replay.sh [MINUTES]
#        (the sandbox: $VIGILOR_SANDBOX or the default build's)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
sandbox=${VIGILOR_SANDBOX:-$repo/build/default/bin/vigilor-sandbox}
minutes=${1:-10}
rounds=${ROUNDS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
node "$repo/tests/browser/busy_town.js" "$minutes" > "$work/scenario.json"

# Prints "cpu_s peak_mb" of one run of the sandbox with the given extra arguments. The CPU time is
# read to the microsecond (getrusage), as /usr/bin/time's hundredths are 3% of a short run; the peak
# memory is still /usr/bin/time's, the sandbox's own.
measure() {
    python3 - "$work/time" "$sandbox" run "$work/scenario.json" --dir "$work/game" --quiet "$@" <<'PY'
import resource, subprocess, sys
subprocess.run(["/usr/bin/time", "-f", "%M", "-o", sys.argv[1]] + sys.argv[2:], check=True)
r = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.3f %.0f" % (r.ru_utime + r.ru_stime, int(open(sys.argv[1]).read()) / 1024))
PY
}
# "best / median" of the numbers on standard input; best is the smallest unless $1 is "max".
summary() {
    sort -g | awk -v max="${1:-}" '{ v[NR] = $1 } END { best = max == "max" ? v[NR] : v[1];
        printf "%s / %s", best, v[int((NR + 1) / 2)] }'
}
load() { cut -d' ' -f1-3 /proc/loadavg; }

echo "run of $minutes min, 100 cops, $rounds rounds (load average at the start: $(load))"
: > "$work/plain"; : > "$work/replay"; : > "$work/ratio"
for _ in $(seq "$rounds"); do
    read -r plain_cpu plain_mb <<< "$(measure)"
    read -r replay_cpu replay_mb <<< "$(measure --replay "$work/replay.html")"
    echo "$plain_cpu $plain_mb" >> "$work/plain"
    echo "$replay_cpu $replay_mb" >> "$work/replay"
    awk -v a="$replay_cpu" -v b="$plain_cpu" 'BEGIN { printf "%.2f\n", a / b }' >> "$work/ratio"
done
page_mb=$(awk -v b="$(stat -c %s "$work/replay.html")" 'BEGIN { printf "%.1f", b / 1e6 }')
echo "  without replay: cpu $(cut -d' ' -f1 "$work/plain" | summary) s, peak $(cut -d' ' -f2 "$work/plain" | summary) MB"
echo "  with replay:    cpu $(cut -d' ' -f1 "$work/replay" | summary) s, peak $(cut -d' ' -f2 "$work/replay" | summary) MB"
echo "  cpu with / without, per round: $(summary < "$work/ratio")x;" \
     "median against median: $(awk -v a="$(cut -d' ' -f1 "$work/replay" | summary | cut -d' ' -f3)" \
        -v b="$(cut -d' ' -f1 "$work/plain" | summary | cut -d' ' -f3)" 'BEGIN { printf "%.2f", a / b }')x"
echo "  page: ${page_mb} MB"
if [ "${CALLGRIND:-}" = 1 ] && command -v valgrind > /dev/null; then
    node "$repo/tests/browser/busy_town.js" 1 > "$work/short.json"
    count() {
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$sandbox" run "$work/short.json" \
            --dir "$work/game" --quiet "$@" 2>&1 | awk '/refs:/ { gsub(",", "", $NF); print $NF }'
    }
    plain_ir=$(count)
    replay_ir=$(count --replay "$work/short.html")
    echo "  instructions, 1 min: $plain_ir without, $replay_ir with a replay" \
         "($(awk -v a="$replay_ir" -v b="$plain_ir" 'BEGIN { printf "%.2f", a / b }')x)"
fi
if [ -x "${CHROMIUM:-/usr/bin/chromium}" ] && [ -d "$repo/node_modules/playwright-core" ]; then
    for speed in 1 16; do
        : > "$work/open"; : > "$work/fps"
        for _ in $(seq "$rounds"); do
            node "$repo/tests/browser/measure_replay.js" "$work/replay.html" "$speed" > "$work/page.json"
            node -e 'const r = JSON.parse(require("fs").readFileSync(process.argv[1], "utf8"));
                     if (r.errors.length) { console.error(r.errors); process.exit(1); }
                     console.log(r.loadMs, r.fps.toFixed(1));' "$work/page.json" > "$work/one"
            cut -d' ' -f1 "$work/one" >> "$work/open"; cut -d' ' -f2 "$work/one" >> "$work/fps"
        done
        echo "  in the browser at ${speed}x: opens in $(summary < "$work/open") ms," \
             "$(summary max < "$work/fps") frames per second"
    done
else
    echo "  (no browser measure: run tests/browser/run.sh once to install Chromium and its driver)"
fi
echo "  load average at the end: $(load)"
