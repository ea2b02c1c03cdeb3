#!/usr/bin/env bash
# Installs the Debian packages the build and its tests need, if any are missing. Also, with --fuzz,
# the compiler and runtime of the libFuzzer targets; with --format, clang-format; with --windows, the
# 32-bit Windows cross toolchain and Wine; with --browser, Chromium for the viewer's browser tests; with
# --js, Node.js and then the pinned JavaScript tools of package.json (the formatter, the lint, the
# browser driver) into node_modules/.
set -euo pipefail
# GNU parallel runs a sweep's shards in one of the command-line tests; the live play serves its page
# with cpp-httplib.
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev parallel
    libcpp-httplib-dev)
js=0
for flag in "$@"; do
    case "$flag" in
        --fuzz) packages+=(clang libclang-rt-14-dev) ;;
        --format) packages+=(clang-format) ;;
        --windows) packages+=(g++-mingw-w64-i686 wine wine32:i386) ;;
        --browser) packages+=(chromium) ;;
        --js) js=1 ;;
        *) echo "deps.sh: unknown option $flag (expected --fuzz, --format, --windows, --browser or --js)" >&2
           exit 2 ;;
    esac
done
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
apt_install() {
    # A mirror caught mid-sync serves lists that do not match its index. It is tried again, and then
    # the lists that did download are used: a broken list of one architecture or suite need not stop
    # an install that does not come from it (apt itself still fails one that does).
    local try
    for try in 1 2 3; do
        $sudo_cmd apt-get update -qq && break
        if [ "$try" -eq 3 ]; then
            echo "deps.sh: some package lists did not download; going on with those that did" >&2
        else
            echo "deps.sh: some package lists did not download; trying again in 30 s" >&2
            sleep 30
        fi
    done
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "$@"
}
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    # Wine runs 32-bit programs with the i386 builds of its libraries.
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo_cmd dpkg --add-architecture i386
    fi
    apt_install "${missing[@]}"
fi
if [ "$js" = 1 ]; then
    # A machine may bring its own Node.js; Debian's is taken only when there is none.
    command -v npm >/dev/null || apt_install nodejs npm
    (cd "$(dirname "$0")/.." && npm ci --no-audit --no-fund --silent)
fi
