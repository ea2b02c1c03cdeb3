#!/usr/bin/env bash
# Installs the 32-bit Windows cross toolchain and Wine (with its 32-bit half), if any are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
packages=(g++-mingw-w64-i686 wine wine32:i386)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    # Wine runs 32-bit programs with the i386 builds of its libraries.
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo_cmd dpkg --add-architecture i386
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
