#!/usr/bin/env bash
# Runs the differential tests of the whole-line scan against the
# one-character scans with many more random cases than the test suite does.
#   tools/differential.sh [ROUNDS]     (default 5000)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVALEX_BUILD_APP=ON >/dev/null
cmake --build build -j "$(nproc)" --target engine_tests >/dev/null
KOVALEX_DIFFERENTIAL_ROUNDS=${1:-5000} build/tests/engine_tests --gtest_filter='FastScanDifferential.*:GrepDifferential.*'
