#!/bin/sh
# tools/quietly off a terminal: silent when the command succeeds, the whole output
# and the command's status when it fails.
set -u
quietly=$1
failures=0
check() {  # name, expected status, expected output, command...
    name=$1 want_status=$2 want_output=$3
    shift 3
    output=$("$quietly" "$@" </dev/null 2>&1)
    status=$?
    if [ "$status" -ne "$want_status" ] || [ "$output" != "$want_output" ]; then
        echo "$name: status $status, output [$output]; want $want_status, [$want_output]"
        failures=$((failures + 1))
    fi
}
check "a build that works" 0 "" sh -c 'echo "[1/83] Building"; echo warning >&2'
check "a build that fails" 2 "[1/83] Building
error: broken" sh -c 'echo "[1/83] Building"; echo "error: broken" >&2; exit 2'
exit "$failures"
