#!/usr/bin/env bash
# Times "(.|\n)*zyzzyva" (attempts that run on over every line end) against
# the fixed string "zyzzyva" on a 19 MB generated dictionary, in one run, and
# prints their processor times and ratio (see cross_line.cpp).
#
#   bench/cross_line_bench.sh [SIZE_MB] [RUNS]      (defaults: 19 MB, 5 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-19}
runs=${2:-5}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target cross_line_bench make_corpus >/dev/null
mkdir -p build/bench
corpus=build/bench/corpus-${size}mb.txt
[ -f "$corpus" ] || build/tools/make_corpus "$corpus" "$size"
echo "corpus: $corpus ($(stat -c %s "$corpus") bytes, $(wc -l <"$corpus") lines)"
build/bench/cross_line_bench "$corpus" "$runs"
