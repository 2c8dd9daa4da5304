#!/usr/bin/env bash
# Times kovagrep -c against GNU grep -c (LC_ALL=C) on the same warm
# Shift-JIS dictionary file, in one run, and prints the median of each and
# their ratio per query, and kovagrep's peak resident memory.
#
#   bench/grep_bench.sh [SIZE_MB] [RUNS]      (defaults: 150 MB, 5 runs)
#
# The corpus is generated once into build/bench/ (deterministic); with
# Debian's edict package installed it is built from that dictionary instead.
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-150}
runs=${2:-5}

tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target kovagrep make_corpus >/dev/null

mkdir -p build/bench
corpus=build/bench/corpus-${size}mb.txt
if [ ! -f "$corpus" ]; then
  if [ -f /usr/share/edict/edict ]; then
    build/tools/make_corpus "$corpus" "$size" --edict /usr/share/edict/edict
  else
    build/tools/make_corpus "$corpus" "$size"
  fi
fi
kovagrep=build/cli/kovagrep
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# name | kovagrep options | pattern (UTF-8) | grep options | grep pattern (Shift-JIS bytes)
word_prefix='(^|[ ■●({\["'"'"'\-])'
word_suffix='([ )"'"'"'\]}:;.,!?\-]|$)'
queries=(
  "ascii word||search|-F|$(sjis search)"
  "japanese word||検索|-F|$(sjis 検索)"
  "ascii word, ignore case|-i|SEARCH|-F -i|$(sjis SEARCH)"
  "class and star||[a-z]+ing |-E|$(sjis '[a-z]+ing ')"
  "line anchored||^■run |-E|$(sjis '^■run ')"
  "word search pattern||${word_prefix}run${word_suffix}|-E|$(sjis "${word_prefix}run${word_suffix}")"
  "no hit||zyzzyva|-F|$(sjis zyzzyva)"
)

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
seconds() {  # seconds COMMAND...: wall time of one run
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null || true
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

cat "$corpus" >/dev/null  # warm the page cache
printf '%-26s %10s %10s %8s %10s %10s\n' query kovagrep grep ratio k-count g-count
for q in "${queries[@]}"; do
  IFS='|' read -r name kopts kpat gopts gpat <<<"$q"
  # shellcheck disable=SC2086
  kcount=$("$kovagrep" -c $kopts -- "$kpat" "$corpus" || true)
  # shellcheck disable=SC2086
  gcount=$(LC_ALL=C grep -c $gopts -- "$gpat" "$corpus" || true)
  ktimes=(); gtimes=()
  for ((r = 0; r < runs; r++)); do
    # shellcheck disable=SC2086
    ktimes+=("$(seconds "$kovagrep" -c $kopts -- "$kpat" "$corpus")")
    # shellcheck disable=SC2086
    gtimes+=("$(seconds env LC_ALL=C grep -c $gopts -- "$gpat" "$corpus")")
  done
  k=$(printf '%s\n' "${ktimes[@]}" | median)
  g=$(printf '%s\n' "${gtimes[@]}" | median)
  printf '%-26s %10.3f %10.3f %8.2f %10s %10s\n' "$name" "$k" "$g" "$(echo "$k / $g" | bc -l)" "$kcount" "$gcount"
done

rss=$(/usr/bin/time -f %M "$kovagrep" -c '[a-z]+ing ' "$corpus" 2>&1 >/dev/null | tail -1)
echo "kovagrep peak resident memory: $((rss / 1024)) MB"
