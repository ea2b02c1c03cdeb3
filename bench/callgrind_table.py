#!/usr/bin/env python3
"""Instruction counts of the sandbox and the plugin at a full ped pool, measured with callgrind.

Runs the stress town (bench/scenarios/stress-town.json) with 10, 25, 50, 100 and 139 cops, standing
(host pursuit off) and chasing (host pursuit on, the player in plain view), plus the stress town's own
run in which every cop loses the player in one tick, and prints one table.

Callgrind writes a dump as every awareness tick starts and as the module's frame ends, so each tick
is measured on its own.
Instructions are split by where they run: the plugin module's own code (and the C and C++ runtimes
it calls) against the sandbox host's. Counts are stable on a busy machine; the real-time factor is
the only figure taken from CPU time, outside callgrind.
"""

import argparse
import copy
import json
import os
import re
import resource
import subprocess
import sys
import tempfile

FRAME_MS = 33
COPS = [10, 25, 50, 100, 139]
QUICK_COPS = [100, 139]
# The plugin's awareness tick; callgrind dumps its counts as it starts. The host's frame work and its
# star drawing (which follows the module's frame) mark the other dumps, so a tick's dump holds the
# tick and the rest of the module's frame.
TICK_FUNCTION = os.environ.get("VIGILOR_TICK_FUNCTION", "*AwarenessTick(*")
FRAME_FUNCTION = "sandbox::HostFrame::Run(*"
AFTER_FUNCTION = "sandbox::CodeImage::DrawStars(*"


def stress_variant(base, cops, chasing, duration_ms):
    """The stress town with `cops` cops (the first of its peds; with more than it has, its other
    peds become cops too), the player standing in plain view, and the host's pursuit on or off."""
    s = copy.deepcopy(base)
    peds = s["peds"]
    cop_peds = [p for p in peds if p["type"] == 6]
    others = [p for p in peds if p["type"] != 6]
    chosen = (cop_peds + others)[:cops] if cops > len(cop_peds) else cop_peds[:cops]
    for p in chosen:
        p["type"] = 6
    s["peds"] = chosen + [p for p in others if p not in chosen]
    s["events"] = []
    s["host"] = {"pursuit": chasing}
    s["durationMs"] = duration_ms
    s["name"] = "stress-%d-%s" % (cops, "chasing" if chasing else "standing")
    return s


class Dump:
    """One callgrind dump: instructions by owner ("plugin", "sandbox", "other")."""

    def __init__(self):
        self.trigger = ""
        self.cost = {"plugin": 0, "sandbox": 0, "other": 0}
        self.inclusive = {}  # callee function name -> inclusive instructions of calls to it
        self.calls = {}  # callee function name -> calls


# Runtime functions that call back into our code: their calls are not charged to the caller.
CALLS_BACK = re.compile(r"__libc_start|below main|dlopen|dl_open|_dl_catch|_dl_init|exit|__cxa_finalize")


def owner(obj):
    base = os.path.basename(obj)
    if base.startswith("vigilor-sandbox"):
        return "sandbox"
    if re.match(r"vigilor\.(so|dll)$", base):
        return "plugin"
    return "other"


def parse_dump(path, names):
    """Self costs by object, with the runtime libraries' costs charged to the object that called
    them, and inclusive costs of calls by callee name. `names` carries the compressed names from
    one dump to the next, in order."""
    d = Dump()
    ob = fn = ""
    cob = cfn = None
    pending_call = False

    def name(kind, text):
        m = re.match(r"\((\d+)\)(?: (.*))?$", text)
        if not m:
            return text
        if m.group(2) is not None:
            names[kind][m.group(1)] = m.group(2)
        return names[kind].get(m.group(1), text)

    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                continue
            c = line[0]
            if c.isdigit() or c in "+-*":
                cost = int(line.split()[-1]) if len(line.split()) > 1 else 0
                if pending_call:
                    callee_ob = cob if cob is not None else ob
                    d.inclusive[cfn] = d.inclusive.get(cfn, 0) + cost
                    # A runtime library called from our code works for the caller (not the C
                    # runtime's start, which calls main and so holds everything).
                    if (owner(callee_ob) == "other" and owner(ob) != "other"
                            and not CALLS_BACK.search(cfn)):
                        d.cost[owner(ob)] += cost
                        d.cost["other"] -= cost
                    pending_call = False
                    cob = None
                else:
                    d.cost[owner(ob)] += cost
                continue
            if line.startswith("desc: Trigger:"):
                d.trigger = line
                continue
            key, _, value = line.partition("=")
            if key == "ob":
                ob = name("ob", value)
            elif key == "fn":
                fn = name("fn", value)
                cob = None
            elif key == "cob":
                cob = name("ob", value)
            elif key == "cfn":
                cfn = name("fn", value)
            elif key == "calls":
                pending_call = True
                d.calls[cfn] = d.calls.get(cfn, 0) + int(value.split()[0])
    return d


def inclusive_of(dumps, pattern):
    rx = re.compile(pattern)
    return sum(v for d in dumps for k, v in d.inclusive.items() if rx.search(k))


def run_callgrind(sandbox, scenario_path, work, label, extra):
    out = os.path.join(work, label + ".cg")
    for f in os.listdir(work):
        if f.startswith(label + ".cg"):
            os.remove(os.path.join(work, f))
    cmd = ["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out,
           "--dump-before=" + TICK_FUNCTION, "--dump-before=" + FRAME_FUNCTION,
           "--dump-before=" + AFTER_FUNCTION,
           sandbox, "run", scenario_path, "--quiet", "--dir", os.path.join(work, label)] + extra
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    files = [f for f in os.listdir(work) if f.startswith(label + ".cg")]

    def order(f):
        m = re.search(r"\.(\d+)$", f)
        return int(m.group(1)) if m else 1 << 30  # the file without a number is the last dump

    names = {"ob": {}, "fn": {}}
    dumps = [parse_dump(os.path.join(work, f), names) for f in sorted(files, key=order)]
    # A dump's trigger is where it ends, so what a dump holds is named by the one before it.
    before = ""
    for d in dumps:
        d.tick = "AwarenessTick" in before or TICK_FUNCTION.strip("*") in before
        d.frame = "HostFrame" in before
        before = d.trigger
    if sum(d.tick for d in dumps) < 3:
        sys.exit("callgrind saw fewer than 3 awareness ticks in %s: does %r name the module's tick "
                 "function? (set VIGILOR_TICK_FUNCTION)" % (label, TICK_FUNCTION))
    return dumps


def measure(dumps):
    """Steady figures from the first frame after the first tick (which starts the episode) to the
    last frame (its dump also holds the shut-down); the world's build from the first dump."""
    first_tick = next(k for k, d in enumerate(dumps) if d.tick)
    span = dumps[first_tick + 1:-1]
    frames = sum(d.frame for d in span)
    ticks = [d for d in span if d.tick]
    others = [d for d in span if not d.tick]
    return {
        "tick_plugin": sum(d.cost["plugin"] for d in ticks) / max(len(ticks), 1),
        "tick_sandbox": sum(d.cost["sandbox"] for d in ticks) / max(len(ticks), 1),
        "frame_plugin": sum(d.cost["plugin"] for d in others) / max(frames, 1),
        "frame_sandbox": sum(d.cost["sandbox"] for d in others) / max(frames, 1),
        "world": inclusive_of(dumps[:first_tick], r"World::World\("),
        "network": inclusive_of(dumps[:first_tick], r"PathNetwork::(Grid|Points)\("),
        "max_tick": max((d for d in dumps if d.tick), key=lambda d: d.cost["plugin"] + d.cost["sandbox"]),
    }


def cpu_seconds(cmd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def real_time_factor(sandbox, base, cops, work, sim_ms, repeats):
    """Simulated time over CPU time, start-up (a run of no frames) taken off; best of `repeats`."""
    best = None
    for kind, ms in (("short", 0), ("long", sim_ms)):
        path = os.path.join(work, "rtf-%d-%s.json" % (cops, kind))
        with open(path, "w") as f:
            json.dump(stress_variant(base, cops, True, ms), f)
    for _ in range(repeats):
        t0 = cpu_seconds([sandbox, "run", os.path.join(work, "rtf-%d-short.json" % cops), "--quiet",
                          "--dir", os.path.join(work, "rtf-short")])
        t1 = cpu_seconds([sandbox, "run", os.path.join(work, "rtf-%d-long.json" % cops), "--quiet",
                          "--dir", os.path.join(work, "rtf-long")])
        cpu = max(t1 - t0, 1e-6)
        best = cpu if best is None else min(best, cpu)
    return (sim_ms / 1000.0) / best


def mi(v):
    return "%.2f M" % (v / 1e6)


def ki(v):
    return "%.0f k" % (v / 1e3)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--sandbox", required=True, help="the vigilor-sandbox binary")
    ap.add_argument("--scenario", required=True, help="the stress town")
    ap.add_argument("--quick", action="store_true", help="100 and 139 cops only, shorter runs")
    ap.add_argument("--work", help="folder for scenarios, runs and callgrind files (default: a temporary one)")
    args = ap.parse_args()

    with open(args.scenario) as f:
        base = json.load(f)
    work = args.work or tempfile.mkdtemp(prefix="vigilor-callgrind-")
    os.makedirs(work, exist_ok=True)
    cops_list = QUICK_COPS if args.quick else COPS
    duration = 1500 if args.quick else 3000
    rtf_ms = 10000 if args.quick else 30000

    rows = []
    for cops in cops_list:
        for chasing in (False, True):
            s = stress_variant(base, cops, chasing, duration)
            path = os.path.join(work, s["name"] + ".json")
            with open(path, "w") as f:
                json.dump(s, f)
            print("measuring %s ..." % s["name"], file=sys.stderr, flush=True)
            r = measure(run_callgrind(args.sandbox, path, work, s["name"], []))
            if chasing:
                r["rtf"] = real_time_factor(args.sandbox, base, cops, work, rtf_ms, 1 if args.quick else 3)
            rows.append((cops, chasing, r))

    print("measuring the stress town's loss tick ...", file=sys.stderr, flush=True)
    loss = dict(base)
    loss["durationMs"] = 3600
    loss_path = os.path.join(work, "stress-loss.json")
    with open(loss_path, "w") as f:
        json.dump(loss, f)
    spike = measure(run_callgrind(args.sandbox, loss_path, work, "stress-loss", []))
    # The log's cost: the same run without it (the loss tick writes a line per cop).
    quiet = measure(run_callgrind(args.sandbox, loss_path, work, "stress-loss-log0", ["--set", "Log=0"]))

    print("Instructions (callgrind), %d ms frames, awareness tick every 150 ms; "
          "plugin = the module's code and the runtime calls it makes, sandbox = the host's." % FRAME_MS)
    print()
    print("| cops | cops do | plugin / tick | sandbox in tick | plugin / other frame | "
          "sandbox / frame | real-time factor (CPU) |")
    print("|---:|---|---:|---:|---:|---:|---:|")
    for cops, chasing, r in rows:
        print("| %d | %s | %s | %s | %s | %s | %s |" % (
            cops, "chase" if chasing else "stand", ki(r["tick_plugin"]), ki(r["tick_sandbox"]),
            ki(r["frame_plugin"]), ki(r["frame_sandbox"]),
            ("%.0f×" % r["rtf"]) if "rtf" in r else "–"))
    print()
    first = rows[0][2]
    t = spike["max_tick"]
    print("| one-off | instructions |")
    print("|---|---:|")
    print("| building the world (%d boxes, path network included) | %s |" % (
        len(base["world"]["boxes"]), mi(first["world"])))
    print("| of which the path network | %s |" % mi(first["network"]))
    print("| the tick in which 100 cops lose the player: sandbox | %s |" % mi(t.cost["sandbox"]))
    print("| the same tick: plugin | %s |" % mi(t.cost["plugin"]))
    print("| the log (Log=1 against Log=0) in that tick: plugin | %s |" % mi(
        t.cost["plugin"] - quiet["max_tick"].cost["plugin"]))
    print("| the log, mean per tick over that 3.6 s run: plugin | %s |" % ki(
        spike["tick_plugin"] - quiet["tick_plugin"]))
    print()
    print("callgrind files and runs: %s" % work, file=sys.stderr)


if __name__ == "__main__":
    main()
