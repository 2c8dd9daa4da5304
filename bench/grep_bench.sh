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
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVALEX_BUILD_APP=ON >/dev/null
cmake --build build -j "$(nproc)" --target kovagrep make_corpus >/dev/null

mkdir -p build/bench
# The line-anchored query must find lines in either corpus: headwords that
# start with a given kanji in edict, "■" entries in the generated one (the
# same text is a pattern of kovagrep and of grep -E).
if [ -f /usr/share/edict/edict ]; then
  corpus=build/bench/corpus-edict-${size}mb.txt
  [ -f "$corpus" ] || build/tools/make_corpus "$corpus" "$size" --edict /usr/share/edict/edict
  anchored='^検[^ ]* \['
else
  corpus=build/bench/corpus-${size}mb.txt
  [ -f "$corpus" ] || build/tools/make_corpus "$corpus" "$size"
  anchored='^■run '
fi
echo "corpus: $corpus"
kovagrep=build/cli/kovagrep
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# Fields, separated by the unit separator (patterns contain "|"):
# name, kovagrep options, pattern, grep options, grep pattern (all UTF-8;
# grep gets its pattern as Shift-JIS bytes)
word_prefix='(^|[ ■●({\["'"'"'\-])'
word_suffix='([ )"'"'"'\]}:;.,!?\-]|$)'
# The same classes in grep's extended syntax, where a backslash inside
# brackets is an ordinary character.  The counts of this query may differ on
# a CR LF corpus: for grep the CR is the line's last character, so "$" does
# not match after a word that ends the line, and its classes hold the single
# bytes of "■" and "●".
grep_prefix='(^|[ ■●({["'"'"'-])'
grep_suffix='([] )"'"'"'}:;.,!?-]|$)'
US=$'\x1f'
queries=(
  "ascii word${US}${US}search${US}-F${US}search"
  "japanese word${US}${US}検索${US}-F${US}検索"
  "ascii word, ignore case${US}-i${US}SEARCH${US}-F -i${US}SEARCH"
  "class and star${US}${US}[a-z]+ing ${US}-E${US}[a-z]+ing "
  "line anchored${US}${US}${anchored}${US}-E${US}${anchored}"
  "word search pattern${US}${US}${word_prefix}run${word_suffix}${US}-E${US}${grep_prefix}run${grep_suffix}"
  "no hit${US}${US}zyzzyva${US}-F${US}zyzzyva"
)

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# GNU grep stops at the first match when its output is /dev/null, so both
# write to a file.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
seconds() {  # seconds COMMAND...: wall time of one run
  local start end
  start=$(date +%s.%N)
  "$@" >"$out" || true
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

cat "$corpus" >/dev/null  # warm the page cache
printf '%-26s %10s %10s %8s %10s %10s\n' query kovagrep grep ratio k-count g-count
for q in "${queries[@]}"; do
  IFS=$US read -r name kopts kpat gopts gpat <<<"$q"
  gpat=$(sjis "$gpat")
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
