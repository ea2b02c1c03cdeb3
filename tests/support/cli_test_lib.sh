# What the command-line test scripts share; sourced with the sandbox program as $1.
# Sets bin (the program, absolute) and work (a scratch folder, removed on exit); fail counts a failure,
# expect checks an exit status and a message, and finish reports and sets the script's status.
bin=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# expect NAME CODE TEXT COMMAND...: that exit status and the text on standard error.
expect() {
    local name=$1 code=$2 text=$3
    shift 3
    local err rc
    err=$("$@" 2>&1 >/dev/null)
    rc=$?
    [ $rc -eq "$code" ] || fail "$name: exit $rc, expected $code ($err)"
    grep -qF -- "$text" <<<"$err" || fail "$name: message '$err' lacks '$text'"
}
finish() {
    echo "$failures failed"
    [ $failures -eq 0 ]
}
