#!/usr/bin/env bash
# drivewindow.sh LINUX_BUILD WINDOWS_BUILD RUNNER...
# The real window on Linux and the real kt63ue.exe under RUNNER (Wine), each on an X display
# of its own (run it under xvfb-run), driven by real clicks and keys (xdotool): started in a
# folder with the sample's "WN.dat", the sample data file opened through the open dialog, a
# weapon read, a value typed and saved by the tool button. The two saved files must be the same,
# byte for byte; while each window holds its file, a second program may read it but not write
# it. Screenshots of page 1 go to KT63_SHOTS when it is set. Exit status 77 (skipped) when
# something it needs is missing.
set -euo pipefail
linux_build=$(realpath "$1")
windows_build=$(realpath "$2")
shift 2
runner=("$@")
patience=90

skip() {
    echo "SKIP   : $1"
    exit 77
}
for program in "$linux_build/src/app/kt63ue" "$linux_build/tools/sample/kt63-sample" \
    "$linux_build/tests/support/kt63-holdfile"; do
    [ -x "$program" ] || skip "$program is not built"
done
[ ${#runner[@]} -gt 0 ] || skip "nothing here runs Windows programs (Wine is not installed)"
[ -n "${DISPLAY:-}" ] || skip "needs an X display (run it under xvfb-run)"
command -v xdotool >/dev/null || skip "xdotool is not installed"

work=$(mktemp -d)
pid=""
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

# Waits for a shown window whose title matches the pattern and prints its id.
wait_for_window() {
    local id
    id=$(timeout "$patience" xdotool search --sync --onlyvisible --name "$1" | head -n 1) || {
        echo "no window titled $1 came up" >&2
        return 1
    }
    echo "$id"
}

# Clicks at a place of the window's client area, below its menu bar: the client area is drawn
# 650 x 450, so the menu bar takes the rest of the window's height.
click_at() {
    local window=$1 x=$2 y=$3 height
    height=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p')
    xdotool mousemove --window "$window" "$x" $((y + height - 450)) click 1
    sleep 1
}

# The steps a user takes, the same in both windows.
drive() {
    local system=$1 folder=$2 holdfile=$3 window dialog
    shift 3
    (cd "$folder" && exec "$@" >"$work/$system.log" 2>&1) &
    pid=$!
    window=$(wait_for_window '^KT63UE$')
    xdotool windowfocus --sync "$window" || true
    click_at "$window" 25 16 # the open button
    dialog=$(wait_for_window '^開く$')
    xdotool windowfocus --sync "$dialog" || true
    sleep 2
    xdotool key ctrl+a
    xdotool type --delay 50 "Qelvint.dll"
    xdotool key Return
    wait_for_window 'Qelvint\.dll$' >/dev/null
    click_at "$window" 28 118 # the weapon number
    xdotool key ctrl+a
    xdotool type --delay 50 "5"
    click_at "$window" 129 16 # read
    click_at "$window" 540 118 # the year of weapon 5
    xdotool key ctrl+a
    xdotool type --delay 50 "77"
    click_at "$window" 52 16 # save
    [ -z "${KT63_SHOTS:-}" ] || import -window "$window" "$KT63_SHOTS/page1-$system.png"
    sharing "$system" "$holdfile" "$folder/Qelvint.dll"
    xdotool key alt+x
    timeout "$patience" tail --pid="$pid" -f /dev/null || true
    pid=""
}

# Another program opens the held file: for reading it may, for writing it may not.
sharing() {
    local system=$1 holdfile=$2 file=$3 read write
    read=$(echo | "$holdfile" "$file" 64) # read, denying nothing
    write=$(echo | "$holdfile" "$file" 66) # read and write, denying nothing
    echo "$system: a second program's open for reading: $read, for writing: $write"
    [ "$(echo "$read" | tr -d '\r')" = held ] && [ "$(echo "$write" | tr -d '\r')" = refused ]
}

for system in linux windows; do
    mkdir -p "$work/$system"
    "$linux_build/tools/sample/kt63-sample" "$work/$system" 1 >/dev/null
done
cp "$work/linux/Qelvint.dll" "$work/before.dll"
# The Windows second program, given the file by its name on Wine's drive Z:, the Linux root.
printf '#!/bin/sh\nexec %s %q "Z:$(printf %%s "$1" | tr / %q)" "$2"\n' "${runner[*]}" \
    "$windows_build/tests/support/kt63-holdfile.exe" '\\' >"$work/holdfile-windows"
chmod +x "$work/holdfile-windows"

drive linux "$work/linux" "$linux_build/tests/support/kt63-holdfile" \
    env QT_QPA_PLATFORM=xcb "$linux_build/src/app/kt63ue"
drive windows "$work/windows" "$work/holdfile-windows" \
    "${runner[@]}" "$windows_build/src/app/kt63ue.exe"

if cmp -s "$work/before.dll" "$work/linux/Qelvint.dll"; then
    echo "FAIL: the Linux window saved nothing"
    exit 1
fi
if ! cmp "$work/linux/Qelvint.dll" "$work/windows/Qelvint.dll"; then
    echo "FAIL: the Windows window saved other bytes than the Linux one"
    exit 1
fi
echo "same: both windows saved the same bytes ($(cmp -l "$work/before.dll" "$work/linux/Qelvint.dll" | wc -l) changed)"
