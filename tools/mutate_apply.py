#!/usr/bin/env python3
"""Usage: mutate_apply.py FILE ORIGINAL REPLACEMENT

Replaces the one occurrence of ORIGINAL in FILE by REPLACEMENT ("\\n" in either stands for a line
break). Exit 0 when applied, 3 when ORIGINAL occurs other than exactly once (the list is stale).
"""
import sys


def main():
    path, original, replacement = (arg.replace("\\n", "\n") for arg in sys.argv[1:4])
    with open(path, encoding="utf-8") as f:
        text = f.read()
    found = text.count(original)
    if found != 1:
        print(f"{path}: original text found {found} times", file=sys.stderr)
        return 3
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace(original, replacement))
    return 0


if __name__ == "__main__":
    sys.exit(main())
