#!/usr/bin/env bash
# Times kovagrep printing every line of a Shift-JIS dictionary, in one run
# against its peers on the same warm file, and prints the median of each and
# the ratios:
#   UTF-8 output:   kovagrep ''         vs  rg -E shift_jis ''   (target: <= 1)
#   Shift-JIS out:  kovagrep --sjis ''  vs  LC_ALL=C grep ''     (target: <= 1.2)
# and, for comparison, the lines of one word with their numbers.
# Runs alternate between the programs so that a noisy machine hurts both.
#
#   bench/output_bench.sh [SIZE_MB] [RUNS]      (defaults: 150 MB, 5 runs)
#
# The corpus is the one bench/grep_bench.sh uses (generated into build/bench/,
# or built from Debian's edict when it is installed).
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-150}
runs=${2:-5}

command -v rg >/dev/null || { echo "ripgrep (rg) is needed: tools/setup.sh installs it" >&2; exit 2; }
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target kovagrep make_corpus >/dev/null

mkdir -p build/bench
if [ -f /usr/share/edict/edict ]; then
  corpus=build/bench/corpus-edict-${size}mb.txt
  [ -f "$corpus" ] || build/tools/make_corpus "$corpus" "$size" --edict /usr/share/edict/edict
else
  corpus=build/bench/corpus-${size}mb.txt
  [ -f "$corpus" ] || build/tools/make_corpus "$corpus" "$size"
fi
kovagrep=build/cli/kovagrep
echo "corpus: $corpus ($(wc -l <"$corpus") lines, $(($(stat -c %s "$corpus") / 1048576)) MB)"

out=$(mktemp)
trap 'rm -f "$out"' EXIT
seconds() {  # seconds COMMAND...: wall time of one run, output to a file
  local start end
  start=$(date +%s.%N)
  "$@" >"$out"
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The commands: every line, an empty pattern.
k_utf8() { LC_ALL=C.UTF-8 "$kovagrep" '' "$corpus"; }
rg_utf8() { rg -E shift_jis '' "$corpus"; }
k_utf8_n() { LC_ALL=C.UTF-8 "$kovagrep" -n '' "$corpus"; }
rg_utf8_n() { rg -n -E shift_jis '' "$corpus"; }
k_word() { LC_ALL=C.UTF-8 "$kovagrep" -n 検索 "$corpus"; }
rg_word() { rg -n -E shift_jis 検索 "$corpus"; }
k_sjis() { LC_ALL=C "$kovagrep" --sjis '' "$corpus"; }
grep_sjis() { LC_ALL=C grep '' "$corpus"; }

# compare NAME KOVAGREP_FUNCTION PEER_FUNCTION: both checked once for the
# same number of output lines, then timed in turn.
compare() {
  local name=$1 mine=$2 peer=$3 ktimes=() ptimes=() k p
  k=$($mine | wc -l)
  p=$($peer | wc -l)
  [ "$k" = "$p" ] || echo "note: $name: kovagrep printed $k lines, the peer $p"
  for ((r = 0; r < runs; r++)); do
    ktimes+=("$(seconds "$mine")")
    ptimes+=("$(seconds "$peer")")
  done
  k=$(printf '%s\n' "${ktimes[@]}" | median)
  p=$(printf '%s\n' "${ptimes[@]}" | median)
  printf '%-34s %10.3f %10.3f %8.2f\n' "$name" "$k" "$p" "$(echo "$k / $p" | bc -l)"
}

cat "$corpus" >/dev/null  # warm the page cache
printf '%-34s %10s %10s %8s\n' "every line" kovagrep peer ratio
compare "UTF-8 (peer: rg -E shift_jis)" k_utf8 rg_utf8
compare "UTF-8 -n (peer: rg -n -E shift_jis)" k_utf8_n rg_utf8_n
compare "Shift-JIS (peer: LC_ALL=C grep)" k_sjis grep_sjis
compare "UTF-8 -n, one word (peer: rg)" k_word rg_word
