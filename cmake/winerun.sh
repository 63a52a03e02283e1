#!/usr/bin/env bash
# winerun.sh PROGRAM ARGS...: runs one Windows program of a test under Wine (PROGRAM is wine, or
# env with Wine's settings and then wine). Now and then Wine fails to start one of many programs
# started at once: it then ends with a failure before the program prints a line, having printed
# at most a message of its own ("wine client error:0: recvmsg: Connection reset by peer"). Only
# such a run is started once more; a program that printed anything, or succeeded, is never run
# again, so a fault of the program fails its test the first time.
set -uo pipefail
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2; do
    "$@" >"$out" 2>"$err"
    status=$?
    if [ "$status" -eq 0 ] || [ -s "$out" ] || grep -qvE '^wine(server)?( client error)?:' "$err" ||
        [ "$attempt" -eq 2 ]; then
        break
    fi
    echo "winerun: Wine ended with status $status before the program printed anything; starting it once more" >&2
done
cat "$out"
cat "$err" >&2
exit "$status"
