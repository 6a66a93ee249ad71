#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzzers with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# in a build folder of their own and runs each one for a bounded time.
#
# Usage: tests/fuzz/run.sh [SECONDS-PER-FUZZER]     (default 30)
# The build folder is build-fuzz/ at the top of the tree, or $TOCKA_FUZZ_BUILD.
# Inputs that crash a fuzzer are left in <build>/tests/fuzz/artifacts/<name>/.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${TOCKA_FUZZ_BUILD:-$top/build-fuzz}
seconds=${1:-30}

cmake -S "$top" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOCKA_FUZZ=ON -DTOCKA_BENCH=OFF \
    -DTOCKA_FUZZ_SECONDS="$seconds"
cmake --build "$build" -j2 --target fuzzers
ctest --test-dir "$build" -L fuzz --output-on-failure
