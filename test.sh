#!/usr/bin/env bash
# Sets up, builds and runs every test: once plainly and once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# The configurations are the presets of CMakePresets.json.
for preset in dev asan; do
  echo "== Build and test: preset $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

echo "== Fuzz smoke (build-fuzz/): every fuzz target for 15 s from its seed corpus"
# A crash, hang, leak or sanitizer report fails the run; fuzz/run.sh SECONDS fuzzes longer.
# Instrumented code is many times slower than the release build, so an input
# counts as hanging only after two minutes here.
FUZZ_TIMEOUT=120 fuzz/run.sh 15
