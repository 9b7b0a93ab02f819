#!/usr/bin/env bash
# Installs the Debian packages that building, testing and benchmarking Velmor need, and only
# those that are missing. Uses sudo only when not already root.
set -euo pipefail

packages=(
    # build
    qt6-base-dev libsqlite3-dev libzip-dev libxdo-dev libx11-dev libxtst-dev libfontconfig-dev
    cmake ninja-build g++ pkg-config
    # pictures of the pictures tab: every format Qt has a reader for; libpng shrinks large PNGs
    qt6-image-formats-plugins libpng-dev
    # velmor-spcplay: SPC emulation and sound output (QAudioSink talks to PulseAudio or
    # PipeWire's pulse server through libpulse, which Qt Multimedia brings; no media plugin)
    libgme-dev qt6-multimedia-dev
    # tests
    libgtest-dev libgmock-dev xvfb xauth evilwm zip unzip sqlite3
    # Windows stand-ins run through Wine (never wine32: see the README)
    wine wine64 gcc-mingw-w64-x86-64
    desktop-file-utils shared-mime-info xdg-utils libglib2.0-bin dbus xdotool python3
    zstd openssl
    fonts-dejavu-core fonts-liberation2
    # the fuzzer of the zip extraction
    clang libclang-rt-14-dev
    # the Debian package (cpack -G DEB) and its checks
    dpkg-dev file lintian appstream man-db
    # benchmarks and tools
    libbenchmark-dev hyperfine time clang-format
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != installed ]]; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

as_root=()
if [[ "$(id -u)" -ne 0 ]]; then
    as_root=(sudo)
fi
echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
