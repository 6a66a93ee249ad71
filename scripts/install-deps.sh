#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that are missing (with sudo when not root):
#
#   install-deps.sh run       what building and running the programs needs
#   install-deps.sh package   what building them into a .deb needs
#   install-deps.sh test      all of that, and what the tests, fuzzers and
#                             benchmarks need (the default)
set -euo pipefail

build_packages=(
    cmake ninja-build g++ ccache pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev libcanberra-dev
)
# The alarm's sound and the face's font: used when the programs run, not to
# build them.
run_packages=(libcanberra-pulse sound-theme-freedesktop fonts-dejavu-core)
# dpkg-buildflags and dpkg-shlibdeps; cpack asks file(1) which files are
# programs.
package_packages=(dpkg-dev file)
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xdotool x11-utils x11-xserver-utils faketime libfaketime imagemagick time
    dbus-daemon dbus-bin at-spi2-core python3-pyatspi python3-dbusmock libsm-dev
    clang libclang-rt-14-dev
    lintian desktop-file-utils appstream groff-base trayer pulseaudio
)

case "${1:-test}" in
run) packages=("${build_packages[@]}" "${run_packages[@]}") ;;
package) packages=("${build_packages[@]}" "${package_packages[@]}") ;;
test) packages=("${build_packages[@]}" "${run_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
*) echo "usage: $0 [run|package|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
