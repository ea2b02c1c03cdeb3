#!/usr/bin/env bash
# Builds the plugin and the sandbox program (not the tests or benchmarks) and runs the demo scenario.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake --preset default >/dev/null
[ -x build/default/bin/vigilor-sandbox ] ||
    echo "First build of the plugin and the sandbox: about 2 to 3 minutes on a 2-core machine."
cmake --build --preset default --target vigilor vigilor-sandbox
build/default/bin/vigilor-sandbox "$@"
