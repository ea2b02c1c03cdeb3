#!/usr/bin/env bash
# Unpacks a release package into a folder whose path has spaces and non-ASCII letters and runs it from
# there: the demo with its replay, a check of a built-in scenario, the commented INI read back.
# Arguments: the package (.zip or .tar.gz), then the command that runs its program (wine), if any.
set -euo pipefail
package=$(realpath "$1")
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dir="$work/Vigilor prüfen – Grüße"
mkdir -p "$dir"
cd "$dir"
cmake -E tar xf "$package"
cd vigilor-sandbox-*/
program=./vigilor-sandbox
[ -f vigilor-sandbox.exe ] && program=./vigilor-sandbox.exe
for file in "$program" vigilor.ini START.txt scenarios/demo.json viewer/page.html docs/settings.md; do
    [ -f "$file" ] || { echo "FAIL: the package lacks $file"; exit 1; }
done
"$@" "$program" >"$work/demo.txt" || { cat "$work/demo.txt"; echo "FAIL: the demo did not run"; exit 1; }
[ -s runs/demo/replay.html ] || { echo "FAIL: the demo wrote no replay"; exit 1; }
"$@" "$program" check scenarios/stars-fade.json --quiet
"$@" "$program" settings --ini vigilor.ini >"$work/settings.txt" || { cat "$work/settings.txt"; exit 1; }
echo "$(basename "$package") runs from $dir"
