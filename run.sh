#!/usr/bin/env bash
# Sets up, builds everything and starts KOVALEX Searcher on the sample
# dictionaries.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)"
cd samples && exec ../build/ui/kovalex "$@"
