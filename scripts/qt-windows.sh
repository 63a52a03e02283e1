#!/usr/bin/env bash
# Builds Qt for 64-bit Windows, static, from Debian's source package qt6-base (the same version
# as the host's Qt, whose moc, rcc and uic the build uses), and prints the folder it is installed in.
#
# The build is kept outside the clone, in KT63_QT_CACHE (default ~/.cache/kt63ue), in a folder
# named by the source version and a hash of the configure options and the toolchain file: a
# second run with the same version and options finds it and builds nothing. Its log is beside
# it (the folder's name with .log); a run that finds another one building waits for it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/debsource.sh

cache=${KT63_QT_CACHE:-$HOME/.cache/kt63ue}
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# What the editor needs and no more: Core, Gui, Widgets and Test, with the windows and offscreen
# platform plugins, all from the source's own copies of the small libraries.
options=(
    -release -optimize-size -static -static-runtime
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
    -qt-host-path /usr
    -nomake examples -nomake tests -no-pch -no-pkg-config
    # Windows has none of these, or the editor uses none of them.
    -no-opengl -no-dbus -no-fontconfig -no-glib -no-zstd
    # Without ICU, Qt converts no code page but UTF and Latin-1: the editor converts Shift-JIS itself.
    -no-icu
    -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-freetype -qt-doubleconversion
    -no-libjpeg -no-gif -no-ico
    -no-feature-network -no-feature-sql -no-feature-xml -no-feature-printsupport
    -no-feature-concurrent -no-feature-textmarkdownreader -no-feature-textmarkdownwriter
    -no-feature-textodfwriter
    # Debian's source leaves out wintab.
    -no-feature-tabletevent
    # Direct2D 1.1 only adds a second Windows platform plugin, which the editor does not link; Gui
    # keeps Direct2D itself, as its DirectWrite font engine needs it.
    -no-feature-direct2d1_1
)
key=$(printf '%s\n' "${options[@]}" | cat - "$toolchain" | sha256sum | cut -c1-12)
dest=$cache/qt-$version-windows-x64-$key
prefix=$dest/prefix

mkdir -p "$cache"
exec 9>"$dest.lock"
flock 9
if [ -f "$dest/done" ]; then
    echo "$prefix"
    exit 0
fi

build() {
    local started=$SECONDS source launchers=()
    # A machine that rebuilds Qt now and then keeps its objects in ccache, where it has one.
    if command -v ccache >/dev/null; then
        launchers=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    rm -rf "$dest"
    mkdir -p "$dest/source"
    ensure_source_entry
    (cd "$dest/source" && apt-get source -qq --only-source "qt6-base=$version")
    source=$(ls -d "$dest"/source/qt6-base-*/)
    mkdir -p "$dest/build"
    cd "$dest/build"
    "$source/configure" -prefix "$prefix" "${options[@]}" -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "${launchers[@]}"
    cmake --build . --parallel "$(nproc)"
    cmake --install .
    cd "$dest"
    rm -rf "$dest/build" "$dest/source"
    echo "Qt for Windows built in $((SECONDS - started)) s, $(du -sm "$prefix" | cut -f1) MB" \
        | tee "$dest/done"
}

echo "Building Qt $version for Windows into $dest (log: $dest.log)" >&2
if ! build >"$dest.log" 2>&1; then
    echo "The Qt build failed; the end of its log:" >&2
    tail -n 40 "$dest.log" >&2
    exit 1
fi
tail -n 1 "$dest.log" >&2
echo "$prefix"
