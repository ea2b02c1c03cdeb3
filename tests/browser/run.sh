#!/usr/bin/env bash
# The replay viewer's tests in headless Chromium: installs what they need, then runs them.
# The sandbox under test: $VIGILOR_SANDBOX, or the default build's.
set -euo pipefail
cd "$(dirname "$0")"
../../tools/deps.sh --browser --js
node --test
