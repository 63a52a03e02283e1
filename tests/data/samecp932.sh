#!/usr/bin/env bash
# samecp932.sh LINUX_PROGRAM WINDOWS_PROGRAM RUNNER...
# Runs the code page 932 table program of the Linux build and of the Windows build (through
# RUNNER, Wine) and compares what they wrote, byte for byte. Exit status 77 (skipped) when the
# Linux program is not built or there is no runner.
set -euo pipefail
linux_program=$1
windows_program=$2
shift 2
if [ ! -x "$linux_program" ]; then
    echo "skipped: $linux_program is not built (cmake --build build --target kt63-cp932table)"
    exit 77
fi
if [ $# -eq 0 ]; then
    echo "skipped: nothing here runs Windows programs (Wine is not installed)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$linux_program" >"$work/linux"
"$@" "$windows_program" | tr -d '\r' >"$work/windows"
if ! cmp -s "$work/linux" "$work/windows"; then
    echo "The Windows conversion differs from the Linux one (- Linux, + Windows):"
    diff -u "$work/linux" "$work/windows" | head -n 60
    exit 1
fi
echo "same: $(wc -l <"$work/linux") sequences and characters"
