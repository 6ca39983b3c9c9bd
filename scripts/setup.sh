# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by scripts/run and scripts/test: installs the Debian packages that
# are missing and configures a build tree. Prints nothing when all is there.

set -euo pipefail

VIBRONA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Everything the program, its tests, its benchmarks and its screenshots need.
VIBRONA_PACKAGES=(
    cmake ninja-build g++ pkg-config dpkg-dev
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqcustomplot-dev
    libgl-dev fonts-dejavu-core fonts-liberation2
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth imagemagick xdotool
)

vibrona_install_missing() {
    local missing=() pkg
    for pkg in "${VIBRONA_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing missing packages: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# vibrona_build DIR [cmake options...]: configure once, then build quietly.
vibrona_build() {
    local dir="$1"
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$VIBRONA_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    fi
    cmake --build "$dir" -- --quiet
}

# A file in a build tree belongs to whoever ran the command, also under sudo.
vibrona_build_as_user() {
    if [ -n "${SUDO_USER:-}" ] && [ "$(id -u)" -eq 0 ]; then
        sudo -u "$SUDO_USER" -H bash -c "source '$VIBRONA_ROOT/scripts/setup.sh' && vibrona_build $(printf '%q ' "$@")"
    else
        vibrona_build "$@"
    fi
}
