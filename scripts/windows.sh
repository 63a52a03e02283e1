#!/usr/bin/env bash
# Builds kt63-table for 64-bit Windows in build-windows/, runs its tests under Wine and writes
# build-windows/kt63-table-VERSION-windows-x64.zip with the program, the README and the licence.
# Installs what it needs (the mingw-w64 cross compiler, Wine, zip) and builds GoogleTest and
# libcsv for Windows from their Debian sources once.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
third=$out/third-party
prefix=$third/prefix
toolchain=$root/cmake/mingw-w64-x86_64.cmake

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

bash scripts/deps.sh g++-mingw-w64-x86-64-posix wine64 zip

# `apt-get source` needs a source entry for the suite the machine runs.
ensure_source_entry() {
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    if grep -rqsE "^(Types:.*deb-src|deb-src .* $suite )" /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return
    fi
    echo "Adding a deb-src entry for $suite"
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$suite" | $sudo tee /etc/apt/sources.list.d/kt63-deb-src.sources >/dev/null
    $sudo apt-get update -qq
}

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

# The Linux programs that the comparison test runs beside the Windows one.
build_linux_tools() {
    [ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja
    cmake --build build --target kt63-table kt63-sample
}

make_wine_prefix() {
    [ -f "$out/wine-prefix/system.reg" ] && return
    echo "Making the Wine prefix"
    WINEPREFIX="$out/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        wineboot -i >/dev/null 2>&1
    WINEPREFIX="$out/wine-prefix" wineserver -w
}

# The licences of what is linked into the program, from the Debian packages they come from.
write_notices() {
    local to=$1 package
    {
        echo "kt63-table.exe holds code of these libraries, under their own licences."
        echo "libcsv is LGPL-2.1+: its source is Debian's source package libcsv, and the program"
        echo "can be built again against a changed libcsv with scripts/windows.sh."
        echo "The C++ and C runtime of GCC are under the GCC Runtime Library Exception."
        for package in libcsv-dev libcli11-dev nlohmann-json3-dev mingw-w64-x86-64-dev; do
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
    name=kt63-table-$version-windows-x64
    stage=$out/zip/$name
    rm -rf "$out/zip" "$out/$name.zip"
    mkdir -p "$stage"
    x86_64-w64-mingw32-strip -o "$stage/kt63-table.exe" "$out/src/cli/kt63-table.exe"
    cp README.md "$stage/"
    if [ -f LICENSE ]; then
        cp LICENSE "$stage/"
    else
        echo "No LICENSE file at the root: the zip goes without the licence"
    fi
    write_notices "$stage/THIRD-PARTY.txt"
    (cd "$out/zip" && zip -q -X -r "$out/$name.zip" "$name")
    echo "Wrote $out/$name.zip; kt63-table.exe is $(stat -c %s "$stage/kt63-table.exe") bytes"
}

mkdir -p "$third"
build_googletest
build_libcsv
copy_header_libraries
build_linux_tools

echo "== Windows build"
cmake -S . -B "$out" -G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DKT63_WINDOWS_PREFIX="$prefix" -DKT63_WITH_QT=OFF -DKT63_BENCH=OFF \
    -DKT63_LINUX_BUILD="$root/build"
cmake --build "$out"

echo "== Windows tests under Wine"
make_wine_prefix
started=$SECONDS
# Now and then Wine fails to start one of many programs started at once: that test ends at once,
# without a line of output. A failed test is run once more; a fault of the program fails twice.
ctest --test-dir "$out" --output-on-failure -j "$(nproc)" --repeat until-pass:2
echo "Windows tests took $((SECONDS - started)) s"

write_zip
