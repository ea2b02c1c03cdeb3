#!/usr/bin/env bash
# Cross-builds the Windows module and sandbox and runs their tests under Wine, headless; then builds
# the zip and runs it, unpacked, from a path with spaces and non-ASCII letters.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh --windows
# A 32-bit prefix of our own, no debug chatter, and no offer to install .NET or the browser engine.
export WINEDEBUG=-all WINEARCH=win32 WINEPREFIX="$PWD/build/windows/wineprefix" WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's own start-up allocations would otherwise take the host code range at 0x400000.
export WINEPRELOADRESERVE=400000-700000
cmake --preset windows >/dev/null
cmake --build --preset windows
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i
# Exactly two names leave the module.
exports=$(i686-w64-mingw32-objdump -p build/windows/bin/vigilor.dll |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -c '^\s*\[ *[0-9]')
if [ "$exports" -ne 2 ]; then
    echo "vigilor.dll exports $exports names, not cfg and vigilor" >&2
    exit 1
fi
ctest --preset windows -j2
cmake --build --preset windows --target package >build/windows/package.log
tests/package/runs_from_odd_path.sh build/windows/packages/vigilor-sandbox-*-win32.zip wine
wineserver -k || true
