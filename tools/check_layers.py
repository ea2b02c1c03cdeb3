#!/usr/bin/env python3
"""Prints the include graph between the folders of plugin/, sandbox/ and app/ and fails when a
folder includes one on a higher floor, or one on its own floor, or when the folders form a cycle.

The floors are listed in tools/layers.txt, lowest first. Usage: tools/check_layers.py [--graph]
Exit 0 when every include points down, 1 when one does not, 2 on a folder missing from the list.
"""
import re
import sys
from collections import defaultdict
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# Where each tree's quoted includes are looked up, after the including file's own folder: the
# build's include folders, in the order the compiler searches them.
SEARCH = {
    "plugin": ["plugin"],
    "sandbox": ["sandbox", "plugin"],
    "app": ["app", "sandbox", "plugin"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def read_floors():
    """Maps each folder to its floor number (0 is the ground) from tools/layers.txt."""
    floors = {}
    for number, line in enumerate(
        l for l in (ROOT / "tools/layers.txt").read_text().splitlines() if l.strip() and not l.startswith("#")
    ):
        for folder in line.split():
            floors[folder] = number
    return floors


def resolve(source, name):
    """The repository path a quoted include names, or None for one outside the three trees."""
    tree = source.relative_to(ROOT).parts[0]
    for base in [source.parent] + [ROOT / d for d in SEARCH[tree]]:
        candidate = (base / name).resolve()
        if candidate.is_file():
            return candidate.relative_to(ROOT)
    return None


def folder_graph():
    """Folder -> {folder it includes -> [(file, included file)]}."""
    graph = defaultdict(lambda: defaultdict(list))
    for tree in SEARCH:
        for source in sorted((ROOT / tree).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            here = source.relative_to(ROOT)
            for name in INCLUDE.findall(source.read_text(errors="replace")):
                target = resolve(source, name)
                if target is None:
                    continue
                a, b = str(here.parent), str(target.parent)
                if a != b:
                    graph[a][b].append((str(here), str(target)))
    return graph


def main():
    floors = read_floors()
    graph = folder_graph()
    folders = sorted(set(graph) | {b for edges in graph.values() for b in edges})
    unlisted = [f for f in folders if f not in floors]
    if unlisted:
        print("folders missing from tools/layers.txt: " + ", ".join(unlisted))
        return 2
    if "--graph" in sys.argv:
        for a in sorted(graph, key=lambda f: (-floors[f], f)):
            print(f"{a} (floor {floors[a]}) -> " + ", ".join(sorted(graph[a], key=lambda f: (-floors[f], f))))
    bad = 0
    for a in sorted(graph):
        for b, pairs in sorted(graph[a].items()):
            if floors[b] >= floors[a]:
                bad += 1
                where = "its own floor" if floors[b] == floors[a] else "a higher floor"
                print(f"{a} includes {b}, on {where} ({len(pairs)}x), e.g. {pairs[0][0]} -> {pairs[0][1]}")
    arrows = sum(len(edges) for edges in graph.values())
    print(f"{len(folders)} folders, {arrows} folder-to-folder includes, {bad} not pointing down")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
