#!/usr/bin/env bash
# Formats the C++ sources with the committed style, then the JavaScript (tools/format_js.sh). With
# --check, changes nothing and fails, naming each place, when a file differs from it.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(-i)
[ "${1:-}" = "--check" ] && mode=(--dry-run --Werror)
git ls-files -z -- 'plugin/*.cpp' 'plugin/*.h' 'sandbox/*.cpp' 'sandbox/*.h' 'app/*.cpp' 'app/*.h' \
    'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' |
    xargs -0 clang-format "${mode[@]}"
tools/format_js.sh "$@"
