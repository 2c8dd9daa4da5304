#!/usr/bin/env bash
# Times "(.|\n)*zyzzyva" (attempts that run on over every line end) against
# the fixed string "zyzzyva" on a 19 MB generated dictionary, in one run, and
# prints their processor times and ratio (see cross_line.cpp): once on the
# dictionary as made, which lacks the word, and once with a line holding it
# put in 3 MB from the start, so that the scan has lines to decide.
#
#   bench/cross_line_bench.sh [SIZE_MB] [RUNS]      (defaults: 19 MB, 5 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-19}
runs=${2:-5}
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target cross_line_bench make_corpus >/dev/null
mkdir -p build/bench
corpus=build/bench/corpus-${size}mb.txt
[ -f "$corpus" ] || build/tools/make_corpus "$corpus" "$size"
holding=build/bench/corpus-${size}mb-zyzzyva.txt
if [ ! -f "$holding" ]; then
  # The word on a line of its own after the first line end past 3 MB.
  rest=$( (tail -c +3000001 "$corpus" || true) | head -n 1 | wc -c)  # tail may lose its reader
  cut=$((3000000 + rest))
  { head -c "$cut" "$corpus"; printf 'zyzzyva here\r\n'; tail -c +"$((cut + 1))" "$corpus"; } >"$holding"
fi
for file in "$corpus" "$holding"; do
  echo "corpus: $file ($(stat -c %s "$file") bytes, $(wc -l <"$file") lines)"
  build/bench/cross_line_bench "$file" "$runs"
done
