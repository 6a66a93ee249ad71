#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, and then starts a program or runs the tests.
#
#   ./build.sh run tocka     start Tocka in the current folder (its logs go there)
#   ./build.sh run tallio    start Tallio on the LogData.log of the current folder
#   ./build.sh test          build and run every test
#   ./build.sh build         only build
#   ./build.sh package       build build/tocka_<version>_amd64.deb
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build="${BUILD_DIR:-$here/build}"

install_missing() {
    "$here/scripts/install-deps.sh" "$1"
}

# compile run TARGET: only that program (no tests, fuzzers or benchmarks, so
# none of their packages are needed); compile test: everything.
compile() {
    local werror=OFF extras=ON targets=()
    [ "${CI:-}" = true ] && werror=ON
    if [ "$1" = run ]; then
        extras=OFF
        targets=(--target "$2")
    fi
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOCKA_WERROR="$werror" \
        -DTOCKA_TESTS="$extras" -DTOCKA_BENCH="$extras" >/dev/null
    cmake --build "$build" -j2 "${targets[@]}"
}

case "${1:-}" in
run)
    case "${2:-}" in
    tocka | tallio) ;;
    *) echo "usage: $0 run tocka|tallio" >&2; exit 2 ;;
    esac
    install_missing run
    compile run "$2"
    exec "$build/apps/$2/$2"
    ;;
test)
    install_missing test
    compile test
    cd "$build"
    ctest -j2 --output-on-failure --timeout 300 -LE fuzz
    if [ -x "$here/tests/fuzz/run.sh" ]; then
        "$here/tests/fuzz/run.sh"
    fi
    ;;
build)
    install_missing test
    compile test
    ;;
package)
    # A build of its own, with Debian's hardening flags, installed under /usr.
    install_missing package
    pkg="$build/package"
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
        LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
        cmake -S "$here" -B "$pkg" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
        -DTOCKA_TESTS=OFF -DTOCKA_BENCH=OFF >/dev/null
    cmake --build "$pkg" -j2
    (cd "$pkg" && cpack -G DEB -B "$build" >/dev/null)
    rm -rf "$build/_CPack_Packages"
    ls "$build"/tocka_*_amd64.deb
    ;;
*)
    sed -n '3,9p' "$0" >&2
    exit 2
    ;;
esac
