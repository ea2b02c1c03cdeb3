#!/usr/bin/env bash
# Usage: tools/calibrate.sh [SEEDS] [OUT-DIR] [ONLY]
#
# How the host model answers tuning questions, both ways, in a family of towns: for each
# configuration one sweep of SEEDS seeds (default 100) over the defaults and, for each key, a weaker
# and a stronger police value. Prints a Markdown table (also written to OUT-DIR/calibration.md): the
# escape share, arrests within 15 s, and per variant the escapes, the median escape time and p
# (Fisher's exact test for the share, Mann-Whitney for the time, "never" ranked last: the sweep's own
# statistics). A mark says whether the variant moved escapes the way a weaker or stronger police
# should (share and median time); * marks p < 0.05 on share or time. Not a CI step: about 2.5 minutes
# on two cores. docs/host-model.md, "Calibration", holds the last table and what it means. ONLY, a
# regular expression, keeps the configurations whose names it finds.
set -euo pipefail
cd "$(dirname "$0")/.."
seeds=${1:-100}
out=${2:-build/calibration}
bin=build/default/bin/vigilor-sandbox
cmake --preset default >/dev/null
cmake --build --preset default --target vigilor vigilor-sandbox >/dev/null
mkdir -p "$out"

python3 - "$bin" "$seeds" "$out" "${3:-}" <<'PY'
import csv, json, os, re, subprocess, sys

bin_, seeds, out, only = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
base = json.load(open("scenarios/getaway.json"))
jobs = str(os.cpu_count() or 1)

# Town changes from the getaway scenario, and the keys each configuration is asked about besides the
# ones every configuration is asked about.
configs = [
    ("getaway", {}, []),
    ("small town 4x4", {"blocks": [4, 4]}, []),
    ("large town 7x7", {"blocks": [7, 7]}, []),
    ("few cops (4, 1 car)", {"copsOnFoot": 4, "copCars": 1}, []),
    ("many cops (14, 5 cars)", {"copsOnFoot": 14, "copCars": 5}, []),
    ("cops start near (20-60 m)", {"copDistance": [20, 60]}, []),
    ("one helicopter, 8 covers", {"helis": 1, "covers": 8}, ["HeliSightRange"]),
    ("police cars only (6)", {"copsOnFoot": 0, "copCars": 6}, ["VehicleSearch", "VehicleSightRange"]),
]
# (key, weaker police, stronger police); a switch has only the one its off value gives: fewer searches
# (weaker), or no loss of the player at all (CutPursuit, stronger).
keys = {
    "PursuitGraceMs": (500, 8000),
    "SightRange": (20, 90),
    "RadioRange": (5, 60),
    "HeliSightRange": (20, 90),
    "VehicleSightRange": (15, 70),
    "VehicleSearch": (0, None),
    "CutPursuit": (None, 0),
    "FootSearch": (0, None),
}
common = ["PursuitGraceMs", "SightRange", "RadioRange", "CutPursuit", "FootSearch"]


def variants(extra):
    for key in common[:3] + extra + common[3:]:
        weak, strong = keys[key]
        if weak is not None:
            yield f"{key}:{weak}", key, weak, "weaker"
        if strong is not None:
            yield f"{key}:{strong}", key, strong, "stronger"


def table(text, metric):
    """The sweep's rows for one metric: variant -> the row's columns."""
    rows, inside = {}, False
    for line in text.splitlines():
        if line.startswith(f"{scenario_name}: {metric} ("):
            inside = True
        elif inside and not line.strip():
            break
        elif inside and line.startswith("  ") and not line.startswith("  variant") and "=>" not in line:
            cols = line.split()
            rows[cols[0]] = cols
    return rows


def p_of(cols, at):
    return float(cols[at].lstrip("<")) if len(cols) > at else None


results = []
for name, town, extra in configs:
    if only and not re.search(only, name):
        continue
    scenario = json.loads(json.dumps(base))
    scenario_name = "calibrate-" + re.sub(r"[^a-z0-9]+", "-", name.lower()).strip("-")
    scenario["name"] = scenario_name
    scenario["world"]["town"].update(town)
    scenario.pop("expect", None)
    folder = os.path.join(out, scenario_name)
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "scenario.json")
    json.dump(scenario, open(path, "w"), indent=1)
    args = [bin_, "sweep", path, "--seeds", str(seeds), "--jobs", jobs, "--out", os.path.join(folder, "sweep"),
            "--force"]
    plan = list(variants(extra))
    for label, key, value, _ in plan:
        ini = os.path.join(folder, label.replace(":", "-") + ".ini")
        open(ini, "w").write(f"[Settings]\n{key}={value}\n")
        args += ["--variant", f"{label}={ini}"]
    print(f"{name}: {seeds} seeds x {len(plan) + 1} variants", file=sys.stderr, flush=True)
    run = subprocess.run(args, capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"calibrate: the sweep of {name} failed:\n{run.stderr}")
    text = run.stdout
    share, times = table(text, "escaped"), table(text, "escapedS")
    arrests = {}
    for row in csv.DictReader(open(os.path.join(folder, "sweep", "results.csv"))):
        a = row["arrestedS"]
        arrests.setdefault(row["variant"], 0)
        arrests[row["variant"]] += 1 if a and float(a) <= 15.0 else 0
    b_yes, b_med = int(share["base"][2]), times["base"][3]
    med = lambda m: float("inf") if m == "never" else float(m)
    cells = []
    for label, key, value, way in plan:
        s, t = share[label], times[label]
        yes, median = int(s[2]), t[3]
        ps, pt = p_of(s, 7), p_of(t, 6)
        more, later = yes - b_yes, (0.0 if median == b_med else med(median) - med(b_med))
        right = (more >= 0 and later <= 0) if way == "weaker" else (more <= 0 and later >= 0)
        right = right and (more != 0 or later != 0)
        significant = (ps is not None and ps < 0.05) or (pt is not None and pt < 0.05)
        cells.append((label, way, yes, median, ps, pt, right, significant))
    results.append((name, b_yes, b_med, arrests.get("base", 0), cells))

lines = [f"Seeds 1 to {seeds} in each configuration. Each cell: escapes of {seeds}, median escape time, "
         "p for the share / p for the time; \u2713 the right way, \u2717 not; * significant (p < 0.05)."]
for name, b_yes, b_med, arrested, cells in results:
    lines.append("")
    lines.append(f"**{name}**: defaults {b_yes} of {seeds} escape (median {b_med} s), "
                 f"{arrested} arrested within 15 s")
    lines.append("")
    lines.append("| variant | police | escapes | median s | p share | p time | way |")
    lines.append("|---|---|---:|---:|---:|---:|---|")
    for label, way, yes, median, ps, pt, right, significant in cells:
        fmt = lambda p: "-" if p is None else f"{p:.3g}"
        mark = ("\u2713" if right else "\u2717") + (" *" if significant else "")
        lines.append(f"| {label} | {way} | {yes} | {median} | {fmt(ps)} | {fmt(pt)} | {mark} |")
report = "\n".join(lines) + "\n"
open(os.path.join(out, "calibration.md"), "w").write(report)
print(report)
PY
