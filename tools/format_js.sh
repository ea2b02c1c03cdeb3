#!/usr/bin/env bash
# Formats the JavaScript (the replay viewer, its browser tests, the lint's config) with the committed
# style and lints it. With --check, changes nothing and fails, naming each place, when a file
# differs from the style or the lint finds a fault. The tools are the pinned ones of package.json
# (tools/deps.sh --js installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -x node_modules/.bin/prettier ] || [ ! -x node_modules/.bin/eslint ]; then
    echo "format_js.sh: the JavaScript tools are missing; install them with tools/deps.sh --js" >&2
    exit 2
fi
# Files not yet added are formatted too, so that a new one is in the style before its first commit.
mapfile -d '' files < <(git ls-files -z --cached --others --exclude-standard -- 'viewer/*.js' \
    'tests/browser/*.js' '*.config.js')
if [ "${1:-}" = "--check" ]; then
    node_modules/.bin/prettier --check --log-level warn "${files[@]}"
else
    node_modules/.bin/prettier --write --log-level warn "${files[@]}"
fi
node_modules/.bin/eslint --max-warnings 0 "${files[@]}"
