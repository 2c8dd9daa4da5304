#!/usr/bin/env bash
# Times kovagrep in every printing mode against its peers, in one run on the
# same warm files, and prints per case the median of each program, the ratio
# of kovagrep to the best peer (target: at most 1.0) and kovagrep's peak
# resident memory:
#   raw output:    kovagrep --sjis          vs  rg -E none, LC_ALL=C grep
#   UTF-8 output:  kovagrep (LC_ALL=C.UTF-8) vs rg -E shift_jis
# each plain, -n, -o and -C 2 -n, for a word on few lines and one on many,
# and every line; dense alternations (cat|dog|bird) and an -i literal,
# printed raw; -r over 10,000 small files against GNU grep -r; pattern files
# (a literal of a megabyte, 100,000 words); then the counting and word-list
# table of bench/grep_bench.sh.
# Runs alternate between the programs so that a noisy machine hurts all.
#
#   bench/output_bench.sh [SIZE_MB] [RUNS]      (defaults: 150 MB, 5 runs)
#   NO_COUNTS=1 bench/output_bench.sh ...       leaves out grep_bench.sh
#
# The corpus is the one bench/grep_bench.sh uses (generated into build/bench/,
# or built from Debian's edict when it is installed); the 10,000 files are
# cut from its first lines.
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
kovagrep=$PWD/build/cli/kovagrep
echo "corpus: $corpus ($(wc -l <"$corpus") lines, $(($(stat -c %s "$corpus") / 1048576)) MB); $runs runs"

# 10,000 files of 20 lines each in 100 folders.
tree=build/bench/tree-10000
if [ ! -f "$tree/.done" ]; then
  rm -rf "$tree"
  mkdir -p "$tree"
  head -n 200000 "$corpus" | awk -v dir="$tree" '{
      n = int((NR - 1) / 20); d = dir "/d" int(n / 100)
      if ((NR - 1) % 2000 == 0) system("mkdir -p " d)
      f = d "/f" n ".txt"; print > f; if (NR % 20 == 0) close(f) }'
  touch "$tree/.done"
fi

out=$(mktemp)
trap 'rm -f "$out"' EXIT
seconds() {  # seconds COMMAND...: wall time of one run, output to a file
  local start end
  start=$(date +%s.%N)
  "$@" >"$out" || true
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# kovagrep's peak resident memory: its functions below run it under
# $measure, which peak_mb sets to GNU time writing the peak to a file.
measure=()
peak_mb() {
  local file
  file=$(mktemp)
  measure=(/usr/bin/time -f %M -o "$file")
  "$@" >/dev/null 2>&1 || true
  measure=()
  tail -n 1 "$file" | awk '{ printf "%.1f", $1 / 1024 }'
  rm -f "$file"
}

# The programs, each with its options and then the arguments of the case.
k_raw() { LC_ALL=C "${measure[@]}" "$kovagrep" --sjis "$@"; }
k_utf8() { LC_ALL=C.UTF-8 "${measure[@]}" "$kovagrep" "$@"; }
rg_raw() { rg -a -E none --no-filename --no-line-number "$@"; }
rg_utf8() { rg -a -E shift_jis --no-filename --no-line-number "$@"; }
grep_raw() { LC_ALL=C grep -a "$@"; }
grep_raw_e() { LC_ALL=C grep -a -E "$@"; }
k_tree() { (cd "$tree" && LC_ALL=C "${measure[@]}" "$kovagrep" --sjis -r "$@" .); }
grep_tree() { (cd "$tree" && LC_ALL=C grep -a -r "$@" .); }
rg_tree() { (cd "$tree" && rg -a -E none --no-line-number --sort path "$@" .); }

# compare NAME "KOVAGREP RG GREP" ARGS...: every program (GREP may be "-")
# is checked once for the same number of output lines, then all are timed
# in turn; the ratios are kovagrep's time to each peer's.
compare() {
  local name=$1 programs=($2) args=("${@:3}") times=() p r k line
  local -A all
  k=$(${programs[0]} "${args[@]}" | wc -l)
  for p in "${programs[@]:1}"; do
    [ "$p" = - ] && continue
    line=$($p "${args[@]}" | wc -l)
    [ "$line" = "$k" ] || echo "note: $name: kovagrep printed $k lines, ${p} $line"
  done
  for ((r = 0; r < runs; r++)); do
    for p in "${programs[@]}"; do [ "$p" = - ] || all[$p]+="$(seconds "$p" "${args[@]}") "; done
  done
  for p in "${programs[@]}"; do
    if [ "$p" = - ]; then times+=(-); else times+=("$(printf '%s\n' ${all[$p]} | median)"); fi
  done
  line=$(printf '%-30s %8.3f %8.3f' "$name" "${times[0]}" "${times[1]}")
  if [ "${times[2]}" = - ]; then line+=$(printf ' %8s' -); else line+=$(printf ' %8.3f' "${times[2]}"); fi
  line+=$(printf ' %6.2f' "$(echo "${times[0]} / ${times[1]}" | bc -l)")
  if [ "${times[2]}" = - ]; then line+=$(printf ' %6s' -); else
    line+=$(printf ' %6.2f' "$(echo "${times[0]} / ${times[2]}" | bc -l)"); fi
  line+=$(printf ' %6s %9s' "$(peak_mb ${programs[0]} "${args[@]}")" "$k")
  echo "$line"
}

cat "$corpus" >/dev/null  # warm the page cache
few=water
many=the
printf '%-30s %8s %8s %8s %6s %6s %6s %9s\n' case kovagrep rg grep k/rg k/grep k-MB lines
for enc in raw utf8; do
  if [ $enc = raw ]; then programs="k_raw rg_raw grep_raw"; else programs="k_utf8 rg_utf8 -"; fi
  compare "$enc: every line" "$programs" '' "$corpus"
  compare "$enc: every line -n" "$programs" -n '' "$corpus"
  for w in $few $many; do
    compare "$enc: $w" "$programs" "$w" "$corpus"
    compare "$enc: $w -n" "$programs" -n "$w" "$corpus"
    compare "$enc: $w -o" "$programs" -o "$w" "$corpus"
    compare "$enc: $w -C 2 -n" "$programs" -C 2 -n "$w" "$corpus"
  done
done
compare "raw: cat|dog|bird" "k_raw rg_raw grep_raw_e" 'cat|dog|bird' "$corpus"
compare "raw: -i japan" "k_raw rg_raw grep_raw" -i japan "$corpus"
compare "-r, 10,000 files: $few" "k_tree rg_tree grep_tree" "$few"
compare "-r, 10,000 files: $many -n" "k_tree rg_tree grep_tree" -n "$many"

# Pattern files: a literal of a megabyte (one line of -f) and the corpus's
# words of four letters or more, up to 100,000 (-F -f).
lists=build/bench/lists
mkdir -p "$lists"
[ -f "$lists/literal-1mb.txt" ] ||
  awk 'BEGIN { srand(1); for (i = 0; i < 1048576; i++) printf "%c", 97 + int(rand() * 26); print "" }' >"$lists/literal-1mb.txt"
[ -f "$lists/words.txt" ] ||
  LC_ALL=C tr -cs 'A-Za-z' '\n' <"$corpus" | awk 'length >= 4' | LC_ALL=C sort -u | head -n 100000 >"$lists/words.txt"
# (A count of 0 is no failure here: the literal is found nowhere.)
k_list() { LC_ALL=C "${measure[@]}" "$kovagrep" -c "$@" || true; }
grep_list() { LC_ALL=C grep -a -c "$@" || true; }
rg_list() { rg -a -E none -c "$@" || true; }
compare "-f 1 MB literal (-c)" "k_list rg_list grep_list" -f "$lists/literal-1mb.txt" "$corpus"
compare "-F -f $(wc -l <"$lists/words.txt") words (-c)" "k_list rg_list grep_list" -F -f "$lists/words.txt" "$corpus"

[ -n "${NO_COUNTS:-}" ] || bench/grep_bench.sh "$size" "$runs"
