#!/usr/bin/env bash
# Builds the editor, writes the synthetic sample files into sample/ unless they are there already
# (so that what was saved into them survives the next run), and starts the editor there, so that
# it reads sample/WN.dat; open sample/Qelvint.dll from its File menu.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

cmake -S . -B build -G Ninja
cmake --build build
if [ -e sample/Qelvint.dll ] && [ -e sample/WN.dat ]; then
    echo "Keeping the sample files in $PWD/sample (delete them for fresh ones)"
else
    ./build/tools/sample/kt63-sample sample
fi

editor=build/src/app/kt63ue
if [ ! -x "$editor" ]; then
    echo "The editor window is not built yet; the sample files are in $PWD/sample"
    exit 0
fi
cd sample
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting the editor under Xvfb"
    exec xvfb-run -a -s "-screen 0 1280x800x24" "../$editor"
fi
exec "../$editor"
