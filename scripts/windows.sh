#!/usr/bin/env bash
# Builds the editor's window (kt63ue.exe) and kt63-table for 64-bit Windows in build-windows/,
# runs their tests under Wine and writes build-windows/kt63ue-VERSION-windows-x64.zip with the
# programs, the README and the licences. Installs what it needs (the mingw-w64 cross compiler,
# Wine, zip) and builds GoogleTest and libcsv for Windows from their Debian sources once, and Qt
# through scripts/qt-windows.sh, which keeps its build outside the clone.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
third=$out/third-party
prefix=$third/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# What the Windows build and its tests need on top of the Linux build's packages.
packages=(g++-mingw-w64-x86-64-posix wine64 zip qt6-base-dev-tools dpkg-dev xdotool)
if [ "${1:-}" = --packages ]; then
    echo "${packages[@]}"
    exit 0
fi
bash scripts/deps.sh "${packages[@]}"
source scripts/debsource.sh

libcsv_source() {
    ls -d "$third"/libcsv-*/ 2>/dev/null | head -n 1
}

build_googletest() {
    [ -f "$prefix/lib/libgtest.a" ] && return
    cmake -S /usr/src/googletest -B "$third/googletest" -G Ninja --toolchain "$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF
    cmake --build "$third/googletest" --target install
}

# libcsv is one C file; it is compiled as its source package holds it.
build_libcsv() {
    [ -f "$prefix/lib/libcsv.a" ] && return
    if [ -z "$(libcsv_source)" ]; then
        ensure_source_entry
        (cd "$third" && apt-get source -qq libcsv)
    fi
    local source
    source=$(libcsv_source)
    mkdir -p "$prefix/lib" "$prefix/include"
    x86_64-w64-mingw32-gcc-posix -O2 -c "$source/libcsv.c" -o "$third/libcsv.o"
    x86_64-w64-mingw32-gcc-ar-posix rcs "$prefix/lib/libcsv.a" "$third/libcsv.o"
    cp "$source/csv.h" "$prefix/include/"
}

# Header-only libraries: the host's headers and package files serve any target, as they are.
copy_header_libraries() {
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    cp -r /usr/include/nlohmann /usr/include/CLI "$prefix/include/"
    cp -r /usr/share/cmake/nlohmann_json /usr/share/cmake/CLI11 "$prefix/share/cmake/"
}

# The Linux programs that the comparison tests run beside the Windows ones.
build_linux_tools() {
    [ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja
    cmake --build build --target kt63-table kt63-sample kt63-cp932table kt63ue kt63-holdfile
}

make_wine_prefix() {
    [ -f "$out/wine-prefix/system.reg" ] && return
    echo "Making the Wine prefix"
    WINEPREFIX="$out/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        wineboot -i >/dev/null 2>&1
    WINEPREFIX="$out/wine-prefix" wineserver -w
}

# The licences of what is linked into the programs, from the Debian packages they come from.
write_notices() {
    local to=$1 package
    {
        echo "kt63ue.exe and kt63-table.exe hold code and data of these libraries and fonts, under"
        echo "their own licences."
        echo "Qt (kt63ue.exe) is LGPL-3: its source is Debian's source package qt6-base, and the"
        echo "program can be built again against a changed Qt with scripts/windows.sh."
        echo "libcsv (kt63-table.exe) is LGPL-2.1+: its source is Debian's source package libcsv,"
        echo "and the program can be built again against a changed libcsv with scripts/windows.sh."
        echo "The IPA fonts (IPAGothic, IPAPGothic) carried in kt63ue.exe are under the IPA Font"
        echo "License Agreement v1.0, whose text is below, as are Qt's Japanese texts"
        echo "(qt6-translations-l10n) under Qt's licences."
        echo "The C++ and C runtime of GCC are under the GCC Runtime Library Exception."
        for package in qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic libcsv-dev \
            libcli11-dev nlohmann-json3-dev mingw-w64-x86-64-dev; do
            printf '\n==== %s ====\n\n' "$package"
            cat "/usr/share/doc/$package/copyright"
        done
        printf '\n==== GNU Lesser General Public License 2.1 (libcsv) ====\n\n'
        cat /usr/share/common-licenses/LGPL-2.1
    } >"$to"
}

write_zip() {
    local version name stage
    version=$(sed -n 's/^project(KT63UE VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    name=kt63ue-$version-windows-x64
    stage=$out/zip/$name
    rm -rf "$out/zip" "$out"/*-windows-x64.zip
    mkdir -p "$stage"
    x86_64-w64-mingw32-strip -o "$stage/kt63-table.exe" "$out/src/cli/kt63-table.exe"
    x86_64-w64-mingw32-strip -o "$stage/kt63ue.exe" "$out/src/app/kt63ue.exe"
    cp README.md "$stage/"
    if [ -f LICENSE ]; then
        cp LICENSE "$stage/"
    else
        echo "No LICENSE file at the root: the zip goes without the licence"
    fi
    write_notices "$stage/THIRD-PARTY.txt"
    (cd "$out/zip" && zip -q -X -r "$out/$name.zip" "$name")
    echo "Wrote $out/$name.zip ($(stat -c %s "$out/$name.zip") bytes); kt63ue.exe is" \
        "$(stat -c %s "$stage/kt63ue.exe") bytes, kt63-table.exe $(stat -c %s "$stage/kt63-table.exe")"
}

# kt63ue.exe must start on any Windows as it is: it may import nothing but Windows' own DLLs.
check_imports() {
    local dll bad=0
    for dll in $(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p'); do
        case "${dll,,}" in
        kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | ole32.dll | \
            oleaut32.dll | comdlg32.dll | imm32.dll | winmm.dll | ws2_32.dll | mpr.dll | \
            uxtheme.dll | dwmapi.dll | version.dll | netapi32.dll | userenv.dll | d3d9.dll | d3d11.dll | \
            dxgi.dll | d2d1.dll | dwrite.dll | shcore.dll | shlwapi.dll | setupapi.dll | wtsapi32.dll | \
            msvcrt.dll | comctl32.dll | crypt32.dll | authz.dll | api-ms-win-*) ;;
        *)
            echo "$1 needs $dll, which Windows does not have"
            bad=1
            ;;
        esac
    done
    return $bad
}

mkdir -p "$third"
qt_prefix=$(bash scripts/qt-windows.sh)
build_googletest
build_libcsv
copy_header_libraries
build_linux_tools

echo "== Windows build"
launchers=()
if command -v ccache >/dev/null; then
    launchers=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$out" -G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DKT63_WINDOWS_PREFIX="$prefix;$qt_prefix" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DKT63_BENCH=OFF \
    -DKT63_DEB_TESTS=OFF -DKT63_LINUX_BUILD="$root/build" "${launchers[@]}"
started=$SECONDS
cmake --build "$out"
echo "The Windows build took $((SECONDS - started)) s"
check_imports "$out/src/app/kt63ue.exe"

echo "== Windows tests under Wine"
make_wine_prefix
started=$SECONDS
# Each test program runs through cmake/winerun.sh, which starts it once more only when Wine failed
# to start it; a failed test is never run again. Qt's event loop on Windows makes a hidden window
# even on the headless platform, and Wine makes windows only on a display: the tests get one.
# One Wine server serves every test program: left to itself it ends a few seconds after its last
# program, and a program started in that moment loses its connection to it.
WINEPREFIX="$out/wine-prefix" wineserver -p
status=0
xvfb-run -a ctest --test-dir "$out" --output-on-failure -j "$(nproc)" || status=$?
WINEPREFIX="$out/wine-prefix" wineserver -k || true
echo "Windows tests took $((SECONDS - started)) s"
[ "$status" -eq 0 ] || exit "$status"

write_zip
