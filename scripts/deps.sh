#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Packages already installed are skipped, so a second run costs nothing.
# Usage: deps.sh [PACKAGE ...]  (extra packages on top of the build set)
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    googletest libgtest-dev libbenchmark-dev
    nlohmann-json3-dev libcsv-dev libcli11-dev
    qt6-base-dev libgl-dev qt6-translations-l10n
    fonts-ipafont-gothic libfontconfig-dev locales
    xvfb xauth libx11-dev libxdamage-dev openbox
    clang libclang-rt-14-dev
    help2man man-db dpkg-dev file lintian build-essential debhelper
    "$@"
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The window must come up in a Japanese locale as it does in any other, and a test compares the
# two; the locale is generated here once. Where that cannot be done, the test says so and skips.
generate_japanese_locale() {
    [ -f /etc/locale.gen ] && command -v locale-gen >/dev/null || return 1
    $sudo sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)$/\1/' /etc/locale.gen &&
        grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen &&
        $sudo locale-gen --keep-existing
}
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    generate_japanese_locale ||
        echo "ja_JP.UTF-8 could not be generated here: the test of the fonts across locales will skip"
fi
