#!/usr/bin/env bash
# Sets up, builds everything and starts KOVALEX Searcher on the sample
# dictionaries.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVALEX_BUILD_APP=ON >/dev/null
cmake --build build -j "$(nproc)"
if [ -x build/app/kovalex ]; then
  cd samples && exec ../build/app/kovalex "$@"
fi
echo "Built the engine; the desktop application is not part of this build yet."
