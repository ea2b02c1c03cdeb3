#!/usr/bin/env bash
# Builds everything and runs the demo scenario.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
build/default/bin/vigilor-sandbox "$@"
