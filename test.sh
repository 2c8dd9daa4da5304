#!/usr/bin/env bash
# Sets up, builds and runs every test: once plainly and once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Build and test (build/)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVALEX_BUILD_APP=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Build and test under the sanitizers (build-asan/)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVALEX_SANITIZE=ON -DKOVALEX_BUILD_APP=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Fuzz smoke (build-fuzz/): every fuzz target for 15 s from its seed corpus"
# A crash, hang, leak or sanitizer report fails the run; fuzz/run.sh SECONDS fuzzes longer.
# Instrumented code is many times slower than the release build, so an input
# counts as hanging only after two minutes here.
FUZZ_TIMEOUT=120 fuzz/run.sh 15
