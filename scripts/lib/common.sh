#!/usr/bin/env bash
# Shared by scripts/run and scripts/test: system packages, the build folder, and the build.

TARNOMBI_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
TARNOMBI_BUILD_DIR="${TARNOMBI_BUILD_DIR:-$TARNOMBI_ROOT/build}"
declare -a TARNOMBI_CMAKE_OPTIONS=()

# What building the librarian needs.
TARNOMBI_BUILD_PACKAGES=(
    build-essential cmake pkg-config ccache
    juce-modules-source
    libfreetype-dev libfontconfig1-dev libpng-dev libjpeg-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxcomposite-dev libxext-dev libgl-dev
    libasound2-dev libjack-jackd2-dev librtmidi-dev
    libcurl4-openssl-dev libssl-dev
)
# What running it needs.
TARNOMBI_RUN_PACKAGES=(fonts-liberation fonts-noto-cjk jackd2)
# What the tests need besides.
TARNOMBI_TEST_PACKAGES=(libgtest-dev xvfb xdotool imagemagick unzip zip python3 procps)

tarnombi_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Installing packages needs root or sudo: $*" >&2
        return 1
    fi
}

# Installs the Debian packages that are missing; does nothing when all are there.
tarnombi_install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    tarnombi_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
    tarnombi_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures (once) and builds the targets given, in Release.
tarnombi_build() {
    cmake -S "$TARNOMBI_ROOT" -B "$TARNOMBI_BUILD_DIR" -DCMAKE_BUILD_TYPE=Release "${TARNOMBI_CMAKE_OPTIONS[@]}" >/dev/null
    cmake --build "$TARNOMBI_BUILD_DIR" --parallel "$(nproc)" ${1:+--target "$@"}
}
