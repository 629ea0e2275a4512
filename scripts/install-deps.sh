#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quick when all are present.
set -euo pipefail
packages=(
    make cmake ninja-build g++ pkg-config ccache
    qt6-base-dev libgl-dev
    libsqlcipher-dev sqlcipher
    libgtest-dev libgmock-dev libbenchmark-dev
    # Debian 13's xlsxwriter.pc requires minizip and zlib, which its -dev package does not pull in.
    libssl-dev libcurl4-openssl-dev libxlsxwriter-dev libminizip-dev zlib1g-dev libzip-dev libarchive-dev
    # Noto holds the letters of the Indian scripts (Devanagari, Bengali, Gurmukhi, Gujarati, Tamil,
    # Telugu, Kannada, Malayalam) for the windows, the preview and the PDFs.
    fonts-dejavu-core fonts-noto-core poppler-utils zbar-tools
    # A virtual X display for the tests that need a real window system; xvfb-run needs xauth.
    xvfb xauth
    # A small window manager on that display, for what only stacking by program shows.
    openbox
    # The tests' real keys and clicks on that display are sent through the X server's own protocol.
    libxcb1-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
