#!/usr/bin/env bash
# Times the window's search on a generated dictionary against kovagrep on
# the same file, and the result view holding every line as a hit: see
# bench/window_bench.cpp.
#   bench/window_bench.sh [SIZE_MB]      (default 150)
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-150}
tools/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target kovagrep kovalex make_corpus window_bench typing_bench >/dev/null
mkdir -p build/bench
corpus=build/bench/corpus-${size}mb.txt
[ -f "$corpus" ] || build/tools/make_corpus "$corpus" "$size"
cat "$corpus" >/dev/null  # warm the page cache
build/bench/window_bench "$corpus" verpantrible search build/cli/kovagrep

# Search as you type over all six dictionaries (one sixth of the size each)
# and the hand-over from a second start.
sixth=build/bench/corpus-$((size / 6))mb.txt
[ -f "$sixth" ] || build/tools/make_corpus "$sixth" $((size / 6))
cat "$sixth" >/dev/null
build/bench/typing_bench "$sixth" trimention build/cli/kovagrep build/ui/kovalex

# The result view: every line of a 19 MB dictionary, then two million lines
# (84 MB), then one line of 20 MB.  Every generated line starts with "■".
small=build/bench/corpus-19mb.txt
big=build/bench/corpus-84mb.txt
[ -f "$small" ] || build/tools/make_corpus "$small" 19
[ -f "$big" ] || build/tools/make_corpus "$big" 84
cat "$small" "$big" >/dev/null
build/bench/window_bench --view "$small" "$big" ■ build/cli/kovagrep

# Copy all of the two million lines: the peak memory against the UTF-8 text;
# under an X server also while another program pastes it (when xvfb-run and
# xclip are installed).
build/bench/window_bench --copy "$big" ■
if command -v xvfb-run >/dev/null && command -v xclip >/dev/null; then
  xvfb-run -a env QT_QPA_PLATFORM=xcb build/bench/window_bench --copy "$big" ■ "xclip -o -selection clipboard"
fi
