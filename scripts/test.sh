#!/usr/bin/env bash
# Builds everything and runs every test: the main build, the data and kt63-table tests once more
# under AddressSanitizer and UndefinedBehaviorSanitizer, short runs of the fuzz targets where
# clang can build them, and kt63-table for Windows under Wine where it can be installed.
set -euo pipefail
cd "$(dirname "$0")/.."

# The Windows step installs the cross compiler and Wine itself, which needs root or sudo unless
# they are there already.
windows=no
if [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null ||
    { command -v x86_64-w64-mingw32-g++-posix && command -v wine; } >/dev/null; then
    windows=yes
fi

if [ "$windows" = yes ]; then
    bash scripts/deps.sh $(bash scripts/windows.sh --packages)
    # Qt for Windows takes longest to build and needs nothing of the rest: it builds at low
    # priority beside the Linux steps, which leave a core idle while their tests run, and the
    # Windows step waits for it.
    qt_log=$(mktemp)
    nice -n 19 bash scripts/qt-windows.sh >/dev/null 2>"$qt_log" &
    qt_build=$!
else
    bash scripts/deps.sh
fi

# The Qt tests need no display. The tests run side by side: most of them wait on processes,
# files and event loops more than they compute.
export QT_QPA_PLATFORM=offscreen

echo "== Main build (at $SECONDS s)"
# Optimised as the programs are shipped, without the debug information that would take a third
# of the compile time and serve no test.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
ctest --test-dir build --output-on-failure --parallel "$(nproc)"

echo "== Data and kt63-table tests under AddressSanitizer and UBSan (at $SECONDS s)"
cmake -S . -B build-sanitize -G Ninja -DKT63_SANITIZE=ON -DKT63_WITH_QT=OFF -DKT63_BENCH=OFF
cmake --build build-sanitize
ctest --test-dir build-sanitize --output-on-failure --parallel "$(nproc)"

fuzz_probe=$(mktemp -d)
trap 'rm -rf "$fuzz_probe"' EXIT
printf '#include <cstddef>\n#include <cstdint>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' \
    > "$fuzz_probe/probe.cpp"
if command -v clang++ >/dev/null &&
    clang++ -fsanitize=fuzzer "$fuzz_probe/probe.cpp" -o "$fuzz_probe/probe" 2>/dev/null; then
    echo "== Fuzz targets (clang, libFuzzer) (at $SECONDS s)"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKT63_FUZZ=ON
    cmake --build build-fuzz
    ctest --test-dir build-fuzz --output-on-failure -L fuzz --parallel "$(nproc)"
else
    echo "== Fuzz targets skipped: clang++ with libFuzzer is not installed"
fi

if [ "$windows" = yes ]; then
    echo "== The window and kt63-table for Windows, tested under Wine (at $SECONDS s)"
    if ! wait "$qt_build"; then
        cat "$qt_log" >&2
        exit 1
    fi
    cat "$qt_log"
    echo "Qt for Windows ready at $SECONDS s"
    bash scripts/windows.sh
else
    echo "== The Windows build skipped: mingw-w64 and Wine are not installed, and without" \
        "root or sudo they cannot be"
fi
echo "All tests passed in $SECONDS s"
