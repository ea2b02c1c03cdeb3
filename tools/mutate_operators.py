#!/usr/bin/env python3
"""Usage: mutate_operators.py --sample N --seed S PATH...

Makes one-line faults from operators over the C++ sources under the PATHs (files or folders) and
prints a sample of N of them, drawn with seed S, as lines of tools/mutations.txt (kind, file, original,
replacement, TAB between), so that tools/mutate.sh --list runs them. The kind is the operator's name.

Operators: flip a comparison (< and <=, > and >=, == and !=), nudge a number (an integer by one, a
decimal by a tenth of itself), drop a statement that assigns, swap && and ||, and an early return whose
condition never or always holds. The original is the whole line, with the line after it when the line
alone is not unique in its file, so that mutate_apply.py finds it exactly once.
"""
import argparse
import pathlib
import random
import re
import sys

COMPARISONS = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ", " == ": " != ", " != ": " == "}
NUMBER = re.compile(r"(?<![\w.])(\d+\.\d+|\d+)(f?)(?![\w.])")
ASSIGNMENT = re.compile(r"^(\s*)[\w.\->\[\]*()]+ (=|\+=|-=|\*=|/=|\|=|&=) [^=].*;\s*$")
GUARDED_RETURN = re.compile(r"^(\s*)if \((.+)\) return\b(.*);\s*$")


def skipped(line):
    """Lines no operator should touch: comments, preprocessor lines, declarations of tables."""
    s = line.strip()
    return not s or s.startswith(("//", "#", "*", "/*", "static_assert", "namespace", "template"))


def code_part(line):
    """The line without a trailing comment or string literals, where operators may be found."""
    line = re.sub(r'"(\\.|[^"\\])*"', '""', line)
    cut = line.find("//")
    return line if cut < 0 else line[:cut]


def faults_in_line(line):
    """(operator, replacement line) for every fault the operators make of one line."""
    if skipped(line):
        return
    code = code_part(line)
    for op, other in COMPARISONS.items():
        start = 0
        while (at := code.find(op, start)) >= 0:
            # `a << b` and `a >> b` hold no comparison; neither does a template's closing bracket.
            if not (op.strip() in "<>" and (code[at - 1 : at + 1] in ("<<", ">>") or code[at + 1 : at + 3] in ("<<", ">>"))):
                yield "flip-comparison", line[:at] + other + line[at + len(op) :]
            start = at + len(op)
    for m in NUMBER.finditer(code):
        text, suffix = m.group(1), m.group(2)
        if "." in text:
            value = float(text)
            nudged = repr(round(value * 1.1 if value else 0.1, 6))
        else:
            nudged = str(int(text) + 1)
        yield "nudge-number", line[: m.start()] + nudged + suffix + line[m.end() :]
    for a, b in (("&&", "||"), ("||", "&&")):
        start = 0
        while (at := code.find(f" {a} ", start)) >= 0:
            yield "swap-logic", line[:at] + f" {b} " + line[at + 4 :]
            start = at + 4
    if ASSIGNMENT.match(code) and not code.lstrip().startswith(("const ", "auto ", "return ")):
        # A declaration with an initialiser is no statement to drop: its name would be unknown.
        if not re.match(r"^\s*[\w:<>,]+(\*|&)? [\w]+ = ", code):
            yield "drop-assignment", ASSIGNMENT.match(code).group(1) + ";"
    if m := GUARDED_RETURN.match(code):
        indent, cond, rest = m.groups()
        yield "return-never", f"{indent}if (false) return{rest};"
        yield "return-always", f"{indent}if ((void)({cond}), true) return{rest};"


def faults_in_file(path):
    lines = path.read_text(encoding="utf-8").split("\n")
    text = "\n".join(lines)
    for i, line in enumerate(lines):
        original = line
        if text.count(original) != 1 and i + 1 < len(lines):
            original = line + "\n" + lines[i + 1]
        # The list writes a line break as \n: a line holding that text could not be found again.
        if text.count(original) != 1 or "\\n" in original:
            continue
        for op, replaced in faults_in_line(line):
            if replaced == line:
                continue
            mutated = replaced + original[len(line) :]
            yield op, original, mutated


def sources(paths):
    for p in map(pathlib.Path, paths):
        if p.is_dir():
            yield from sorted(f for f in p.rglob("*") if f.suffix in (".cpp", ".h"))
        elif p.is_file():
            yield p
        else:
            sys.exit(f"mutate_operators.py: {p}: no such file or folder")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[2])
    ap.add_argument("--sample", type=int, required=True, help="how many faults to print")
    ap.add_argument("--seed", type=int, default=1, help="seed of the draw")
    ap.add_argument("paths", nargs="+")
    args = ap.parse_args()
    if args.sample < 1:
        sys.exit("mutate_operators.py: --sample needs a count of 1 or more")
    faults = [(op, str(f), o, r) for f in sources(args.paths) for op, o, r in faults_in_file(f)]
    picked = sorted(random.Random(args.seed).sample(range(len(faults)), min(args.sample, len(faults))))
    print(f"# {len(picked)} of {len(faults)} operator faults, seed {args.seed}", file=sys.stderr)
    esc = lambda s: s.replace("\n", "\\n")
    for i in picked:
        op, f, o, r = faults[i]
        print(f"{op}\t{f}\t{esc(o)}\t{esc(r)}")


if __name__ == "__main__":
    main()
