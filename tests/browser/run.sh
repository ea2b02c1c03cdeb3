#!/usr/bin/env bash
# The replay viewer's tests in headless Chromium: installs what they need, then runs them.
# The sandbox under test: $VIGILOR_SANDBOX, or the default build's.
set -euo pipefail
cd "$(dirname "$0")"
if [ ! -x /usr/bin/chromium ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq chromium >/dev/null
fi
npm ci --no-audit --no-fund --silent
node --test
