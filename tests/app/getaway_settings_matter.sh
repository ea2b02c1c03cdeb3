#!/usr/bin/env bash
# The getaway scenario answers tuning questions the right way round: over 100 seeds, more grace and a
# longer sight each make the player escape later or less often, and a shorter sight sooner or more
# often, clearly enough for the sweep's own verdict (p < 0.05); a longer radio range never the wrong
# way (since the player plans his way past the cops, its effect there is about p = 0.1 at 100 seeds:
# docs/host-model.md, "Calibration"); and with the defaults the player neither always nor never
# escapes, and the seeds spread the times.
# Usage: getaway_settings_matter.sh VIGILOR-SANDBOX GETAWAY.json
source "$(dirname "$0")/../support/cli_test_lib.sh"
getaway=$(realpath "$2")

# KEY:BASE:VARIANT:MUST, the variant a stronger police than the base when it is the higher value.
for pair in PursuitGraceMs:1500:8000:clear SightRange:25:90:clear SightRange:45:20:clear RadioRange:5:60:way; do
    IFS=: read -r key low high must <<<"$pair"
    right="later|less often" wrong="sooner|more often"
    if python3 -c 'import sys; sys.exit(0 if float(sys.argv[1]) < float(sys.argv[2]) else 1)' "$high" "$low"; then
        right="sooner|more often" wrong="later|less often"
    fi
    # The base value is the scenario's own setting, so that the sweep's base is it.
    python3 -c 'import json, sys; s = json.load(open(sys.argv[1])); s["settings"] = {sys.argv[2]: float(sys.argv[3])}
json.dump(s, open(sys.argv[4], "w"))' "$getaway" "$key" "$low" "$work/$key.json"
    verdicts=$("$bin" sweep "$work/$key.json" --seeds 100 --vary "$key=$high" --jobs 2 --out "$work/$key" 2>/dev/null |
        grep -E "^  => $key=$high: .*escape")
    echo "$verdicts"
    [ "$must" = way ] || grep -qE "the player escapes ($right)" <<<"$verdicts" ||
        fail "$key $low against $high: escapes not clearly $right"
    # Below significance the verdict gives the medians and counts: they must not point the wrong way.
    python3 -c 'import re, sys
v = sys.argv[1]
share = re.search(r"escaped: .*?(\d+) of 100 against (\d+) of 100", v)
time = re.search(r"escapedS?: .*?median ([\d.]+|never)( s)? against ([\d.]+|never)", v)
num = lambda t: float("inf") if t == "never" else float(t)
stronger = sys.argv[2] == "later|less often"
wrong = (share and (int(share[1]) > int(share[2])) == stronger and share[1] != share[2]) or (
    time and (num(time[1]) < num(time[3])) == stronger and time[1] != time[3])
sys.exit(1 if wrong else 0)' "$verdicts" "$right" || fail "$key $low against $high: the wrong way round"
    grep -qE "the player escapes ($wrong)" <<<"$verdicts" && fail "$key $low against $high: the wrong way round"
done

"$bin" sweep "$getaway" --seeds 100 --jobs 2 --out "$work/defaults" --quiet || fail "the defaults' sweep failed"
python3 - "$work/defaults/results.csv" <<'PY' || fail "the defaults do not spread"
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1])))
escaped = sum(r["escaped"] == "1" for r in rows)
seen = {r["seenS"] for r in rows}
times = {r["escapedS"] for r in rows if r["escapedS"]}
print(f"defaults: {escaped} of {len(rows)} escape; {len(seen)} distinct seenS, {len(times)} distinct escapedS")
sys.exit(0 if 20 <= escaped <= 80 and len(seen) >= 20 and len(times) >= 20 else 1)
PY
finish
