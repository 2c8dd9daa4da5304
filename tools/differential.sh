#!/usr/bin/env bash
# Runs the differential tests of the whole-line scan against the
# one-character scans with many more random cases than the test suite does.
#   tools/differential.sh [ROUNDS]     (default 5000)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target grep_tests >/dev/null
KOVALEX_DIFFERENTIAL_ROUNDS=${1:-5000} build/tests/grep_tests --gtest_filter='FastScanDifferential.*'
