#!/usr/bin/env bash
# Times kovagrep -c against GNU grep -c and ripgrep -c on the same warm
# Shift-JIS dictionary file, in one run, and prints per query the median of
# each, kovagrep's ratios to both, the counts and kovagrep's peak resident
# memory; then the compile and search time of an alternation of 1,000 words.
#
#   bench/grep_bench.sh [SIZE_MB] [RUNS]      (defaults: 150 MB, 5 runs)
#   KOVAGREP_BEFORE=path/to/old/kovagrep bench/grep_bench.sh ...
#       adds a column with an earlier build, timed in the same rounds (and
#       a line for it under the 1,000-word alternation).
#   BENCH_TIME=cpu bench/grep_bench.sh ...
#       times the processor time (user + system, as the shell's "times"
#       reports it) of each run instead of the wall time: steadier on a
#       machine that others load.
#
# Peers: GNU grep with LC_ALL=C, or in the ja_JP.SJIS locale for patterns
# with double-byte characters (generated here when missing), and ripgrep on
# raw bytes (rg -c -a -E none -j1 --no-mmap, the pattern's Shift-JIS bytes
# written as \xHH).  Both peers work on bytes (grep in the C locale) and may
# match across character boundaries, where kovagrep does not; their counts
# can differ by that.  Runs alternate between the programs, so that the load
# of a shared machine falls on all of them alike.
#
# The corpus is generated once into build/bench/ (deterministic); with
# Debian's edict package installed it is built from that dictionary instead.
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-150}
runs=${2:-5}
before=${KOVAGREP_BEFORE:-}

tools/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target kovagrep make_corpus >/dev/null
if ! locale -a | grep -qix 'ja_JP.sjis'; then
  localedef -i ja_JP -f SHIFT_JIS ja_JP.SJIS 2>/dev/null || echo "no ja_JP.SJIS locale: double-byte queries run grep in the C locale"
fi
sjis_locale=C
locale -a | grep -qix 'ja_JP.sjis' && sjis_locale=ja_JP.SJIS

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
# ripgrep's form of a pattern: Shift-JIS bytes as \xHH, Unicode off.
rgpat() { printf '(?-u)%s' "$(sjis "$1" | perl -pe 's/([\x80-\xff])/sprintf("\\x%02X", ord($1))/ge')"; }

# Fields, separated by the unit separator (patterns contain "|"):
# name, kovagrep options, pattern, grep options, grep pattern, locale of
# grep (C or SJIS); all UTF-8, grep gets its pattern as Shift-JIS bytes and
# ripgrep kovagrep's pattern as \xHH escapes.
word_prefix='(^|[ ■●({\["'"'"'\-])'
word_suffix='([ )"'"'"'\]}:;.,!?\-]|$)'
# The same classes in grep's extended syntax, where a backslash inside
# brackets is an ordinary character.  The counts of this query may differ on
# a CR LF corpus: for grep the CR is the line's last character, so "$" does
# not match after a word that ends the line, and its classes hold the single
# bytes of "■" and "●".
grep_prefix='(^|[ ■●({["'"'"'-])'
grep_suffix='([] )"'"'"'}:;.,!?-]|$)'
ascii3='cat|dog|bird'
ascii10='cat|dog|bird|fish|horse|cow|sheep|pig|goat|mouse'
kanji3='猫|犬|鳥'
kanji10='猫|犬|鳥|魚|馬|牛|羊|豚|鼠|虎'
US=$'\x1f'
queries=(
  "ascii word${US}${US}language${US}-F${US}language${US}C"
  "japanese word${US}${US}英語${US}-F${US}英語${US}SJIS"
  "ascii word, ignore case${US}-i${US}japan${US}-F -i${US}japan${US}C"
  "regex, required string${US}${US}/to [a-z]+/${US}-E${US}/to [a-z]+/${US}C"
  "3 ascii words${US}${US}${ascii3}${US}-E${US}${ascii3}${US}C"
  "10 ascii words${US}${US}${ascii10}${US}-E${US}${ascii10}${US}C"
  "3 kanji words${US}${US}${kanji3}${US}-E${US}${kanji3}${US}SJIS"
  "10 kanji words${US}${US}${kanji10}${US}-E${US}${kanji10}${US}SJIS"
  "3 ascii words, ignore case${US}-i${US}${ascii3}${US}-E -i${US}${ascii3}${US}C"
  "class-led regex${US}${US}[a-z]+ing ${US}-E${US}[a-z]+ing ${US}C"
  "line anchored${US}${US}${anchored}${US}-E${US}${anchored}${US}SJIS"
  "word search pattern${US}${US}${word_prefix}run${word_suffix}${US}-E${US}${grep_prefix}run${grep_suffix}${US}C"
  "no hit${US}${US}zyzzyva${US}-F${US}zyzzyva${US}C"
  "-E word boundaries${US}-E${US}\\brun\\b${US}-E${US}\\brun\\b${US}C"
  "-E class interval${US}-E${US}[[:digit:]]{4}${US}-E${US}[[:digit:]]{4}${US}C"
)

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# GNU grep stops at the first match when its output is /dev/null, so every
# program writes to a file.
out=$(mktemp)
words=$(mktemp)
empty=$(mktemp)
trap 'rm -f "$out" "$words" "$empty"' EXIT
seconds() {  # seconds COMMAND...: wall (or processor) time of one run
  if [ "${BENCH_TIME:-wall}" = cpu ]; then
    # The processor time of the subshell's children: the command alone.
    ( "$@" >"$out" || true; times ) | tail -1 |
      awk '{ t = 0; for (i = 1; i <= 2; i++) { split($i, p, /[ms]/); t += p[1] * 60 + p[2] } print t }'
  else
    local start end
    start=$(date +%s.%N)
    "$@" >"$out" || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc -l
  fi
}
peak_mb() { { /usr/bin/time -f %M "$@" 2>&1 >/dev/null || true; } | tail -1 | awk '{ printf "%.1f", $1 / 1024 }'; }
ratio() { echo "$1 / $2" | bc -l; }

cat "$corpus" >/dev/null  # warm the page cache
printf '%-27s %8s %8s %8s %8s %7s %7s %8s %8s %8s %6s\n' query before kovagrep grep rg k/grep k/rg \
  k-count g-count r-count k-MB
for q in "${queries[@]}"; do
  IFS=$US read -r name kopts kpat gopts gpat gloc <<<"$q"
  gpat=$(sjis "$gpat")
  rpat=$(rgpat "$kpat")
  gl=C
  [ "$gloc" = SJIS ] && gl=$sjis_locale
  ropts=()
  [[ " $kopts " == *" -i "* ]] && ropts=(-i)
  # shellcheck disable=SC2086
  kcount=$("$kovagrep" -c $kopts -- "$kpat" "$corpus" || true)
  # shellcheck disable=SC2086
  gcount=$(LC_ALL=$gl grep -c $gopts -- "$gpat" "$corpus" || true)
  rcount=$(rg -c -a -E none -j1 --no-mmap "${ropts[@]}" -e "$rpat" -- "$corpus" || true)
  # shellcheck disable=SC2086
  kmb=$(peak_mb "$kovagrep" -c $kopts -- "$kpat" "$corpus")
  btimes=(0); ktimes=(); gtimes=(); rtimes=()
  for ((r = 0; r < runs; r++)); do
    # shellcheck disable=SC2086
    [ -n "$before" ] && btimes+=("$(seconds "$before" -c $kopts -- "$kpat" "$corpus")")
    # shellcheck disable=SC2086
    ktimes+=("$(seconds "$kovagrep" -c $kopts -- "$kpat" "$corpus")")
    # shellcheck disable=SC2086
    gtimes+=("$(seconds env LC_ALL=$gl grep -c $gopts -- "$gpat" "$corpus")")
    rtimes+=("$(seconds rg -c -a -E none -j1 --no-mmap "${ropts[@]}" -e "$rpat" -- "$corpus")")
  done
  [ -n "$before" ] && unset 'btimes[0]'
  b=$(printf '%s\n' "${btimes[@]}" | median)
  k=$(printf '%s\n' "${ktimes[@]}" | median)
  g=$(printf '%s\n' "${gtimes[@]}" | median)
  rr=$(printf '%s\n' "${rtimes[@]}" | median)
  printf '%-27s %8.3f %8.3f %8.3f %8.3f %7.2f %7.2f %8s %8s %8s %6s\n' "$name" "$b" "$k" "$g" "$rr" \
    "$(ratio "$k" "$g")" "$(ratio "$k" "$rr")" "$kcount" "$gcount" "$rcount" "$kmb"
done

# 1,000 words of the corpus's own vocabulary (every k-th of its distinct
# words of five letters or more, in sorted order), as one alternation for
# kovagrep and as a word list (-F -f) for the peers.  Compile time: kovagrep
# on an empty file.  Search time against the single word query.
{ LC_ALL=C grep -a -o -E '[a-z]{5,}' "$corpus" || true; } | head -3000000 | LC_ALL=C sort -u >"$words"
total=$(wc -l <"$words")
awk -v step=$((total / 1000)) 'NR % step == 0 && n < 1000 { print; n++ }' "$words" >"$words.list"
mv "$words.list" "$words"
alternation=$(paste -sd'|' "$words")
ctimes=(); ktimes=(); stimes=(); gtimes=(); rtimes=(); bctimes=(0); btimes=(0)
for ((r = 0; r < runs; r++)); do
  if [ -n "$before" ]; then
    bctimes+=("$(seconds "$before" -c -- "$alternation" "$empty")")
    btimes+=("$(seconds "$before" -c -- "$alternation" "$corpus")")
  fi
  ctimes+=("$(seconds "$kovagrep" -c -- "$alternation" "$empty")")
  ktimes+=("$(seconds "$kovagrep" -c -- "$alternation" "$corpus")")
  stimes+=("$(seconds "$kovagrep" -c -- language "$corpus")")
  gtimes+=("$(seconds env LC_ALL=C grep -c -F -f "$words" -- "$corpus")")
  rtimes+=("$(seconds rg -c -a -E none -j1 --no-mmap -F -f "$words" -- "$corpus")")
done
[ -n "$before" ] && unset 'bctimes[0]' 'btimes[0]'
bcompile=$(printf '%s\n' "${bctimes[@]}" | median)
bsearch=$(printf '%s\n' "${btimes[@]}" | median)
c=$(printf '%s\n' "${ctimes[@]}" | median)
k=$(printf '%s\n' "${ktimes[@]}" | median)
s=$(printf '%s\n' "${stimes[@]}" | median)
g=$(printf '%s\n' "${gtimes[@]}" | median)
rr=$(printf '%s\n' "${rtimes[@]}" | median)
echo "1,000-word alternation ($(wc -l <"$words") words, $(wc -c <<<"$alternation") bytes; peers: -F -f):"
printf '  compile %.3f s; search %.3f s = %.2f x the single word (%.3f s); grep %.3f s, rg %.3f s\n' \
  "$c" "$k" "$(ratio "$k" "$s")" "$s" "$g" "$rr"
[ -n "$before" ] &&
  printf '  before: compile %.3f s; search %.3f s = %.2f x the single word\n' "$bcompile" "$bsearch" "$(ratio "$bsearch" "$s")"
printf '  counts: kovagrep %s, grep %s, rg %s; kovagrep peak memory %s MB\n' \
  "$("$kovagrep" -c -- "$alternation" "$corpus" || true)" "$(LC_ALL=C grep -c -F -f "$words" -- "$corpus" || true)" \
  "$(rg -c -a -E none -j1 --no-mmap -F -f "$words" -- "$corpus" || true)" \
  "$(peak_mb "$kovagrep" -c -- "$alternation" "$corpus")"
