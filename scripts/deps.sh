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
    fonts-ipafont-gothic
    xvfb xauth libx11-dev
    clang libclang-rt-14-dev
    help2man man-db dpkg-dev file lintian build-essential debhelper
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
