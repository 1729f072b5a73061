#!/usr/bin/env bash
# Installs what building and testing Cartavera needs (Debian 12), then
# configures and builds into ./build. Sourced by ./run and ./test.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ pkg-config      # toolchain
    qt6-base-dev qt6-svg-dev libgl-dev    # Qt 6 Core/Gui/Widgets/PrintSupport/Test, Svg
    libqt6svg6 qt6-qpa-plugins            # SVG icons at run time; offscreen and X11 platforms
    qt6-translations-l10n                 # Qt's own dialogs and buttons in Italian (qtbase_it)
    libbenchmark-dev zip unzip            # bench/, which measures backups against zip and unzip
    fonts-liberation2 fonts-dejavu-core   # metric fonts, so printed columns line up
    xvfb xauth                            # xvfb-run: a virtual screen where there is none
    poppler-utils                         # pdftotext/pdfinfo: tests read printed PDF files back
    libzip-dev                            # ZIP archives of the backups (libzip, zlib)
    clang-14 libclang-rt-14-dev           # libFuzzer and its sanitizers: fuzz/, scripts/fuzz.sh
    dpkg-dev librsvg2-bin                 # scripts/package.sh: dpkg-shlibdeps, the PNG icons
    desktop-file-utils appstream          # tests/package: the desktop entry and AppStream checks
    man-db groff-base                     # tests/package: the man pages render without warnings
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "== Installo: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BUILD_DIR:-$ROOT/build}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
# CARTAVERA_TARGETS, when set, names the only targets to build (./run builds
# what it installs); otherwise everything is built.
# shellcheck disable=SC2086
cmake --build "$BUILD" ${CARTAVERA_TARGETS:+--target $CARTAVERA_TARGETS}
