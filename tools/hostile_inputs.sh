#!/usr/bin/env bash
# Searches dictionaries too large for the test suite with kovagrep and checks
# the results and the peak memory (resident set, from /usr/bin/time):
#  - a 2 GB dictionary, made sparse with truncate: 512 entries, one every
#    4 MB, with runs of zero bytes (read as spaces) between them;
#  - a dictionary with one line of 50 MB between two short lines;
#  - files that are not what their size says: a FIFO (with and without a
#    writer; Ctrl-C while kovagrep waits), a file whose size reads 0
#    (/proc/kallsyms), a file that grows while it is read;
#  - line numbers past 2^31 and 2^32, from a stream of 4 GB of line feeds;
#  - a pattern whose attempts cross every line end, over 10 MB;
#  - a line without end (/dev/zero) under a memory limit (ulimit -v).
#
#   tools/hostile_inputs.sh            (BUILD_DIR=build-hostile; TMPDIR for the files)
#
# Needs about 60 MB of disk for the files and a few seconds to a minute of
# CPU per search.  Exits non-zero when a result or a memory bound is wrong.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-hostile}

echo "== Build kovagrep ($build/)"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2 --target kovagrep >/dev/null
kovagrep=$PWD/$build/cli/kovagrep

work=$(mktemp -d "${TMPDIR:-/tmp}/kovalex-hostile-XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0

# check NAME EXPECTED ACTUAL
check() {
  if [ "$2" = "$3" ]; then
    echo "  ok    $1: $3"
  else
    echo "  FAIL  $1: expected $2, got $3"
    failed=1
  fi
}

# measure OUTPUT_FILE COMMAND...: runs the command with its output in
# OUTPUT_FILE; sets status, kb (peak resident set) and seconds.
measure() {
  local out=$1
  shift
  set +e
  /usr/bin/time -o "$work/time" -f '%M %e' "$@" >"$out" 2>"$work/stderr"
  status=$?
  set -e
  # time puts "Command exited with non-zero status N" before its own line.
  read -r kb seconds < <(tail -n 1 "$work/time")
}

# bounded NAME KB LIMIT_KB
bounded() {
  if [ "$2" -le "$3" ]; then
    echo "  ok    $1: peak memory $(($2 / 1024)) MB (limit $(($3 / 1024)) MB)"
  else
    echo "  FAIL  $1: peak memory $(($2 / 1024)) MB, over the limit of $(($3 / 1024)) MB"
    failed=1
  fi
}

echo "== A 2 GB sparse dictionary"
big=$work/KOVA5.TXT
truncate -s 2G "$big"
step=$((4 * 1024 * 1024))
for k in $(seq 0 511); do
  printf '\r\nKOVA entry %d needle \x8c\x9f\x8d\xf5\r\n' "$k" |
    dd of="$big" bs=1 seek=$((k * step)) conv=notrunc status=none
done
check "file size" 2147483648 "$(stat -c %s "$big")"
echo "  disk blocks in use: $(du -k "$big" | cut -f1) KB"

measure "$work/out" "$kovagrep" -c needle "$big"
check "lines with a fixed string" "0:512" "$status:$(cat "$work/out")"
bounded "fixed string" "$kb" $((64 * 1024))
echo "        ${seconds} s"

measure "$work/out" "$kovagrep" -c 'entry [0-9]*1 needle' "$big"
check "lines with a pattern" "0:$(seq 1 10 511 | wc -l)" "$status:$(cat "$work/out")"
bounded "pattern" "$kb" $((64 * 1024))
echo "        ${seconds} s"

# Entry k is line 2k + 2: the record's leading line end closes the run of
# zero bytes before it (the first record's an empty first line).  The zero
# bytes make the file binary, as for grep: -a prints its lines.
measure "$work/out" "$kovagrep" -a -n 'entry 511 needle' "$big"
check "line number past 2^31 bytes" "0:1024" "$status:$(cut -d: -f1 "$work/out")"
bounded "line number" "$kb" $((64 * 1024))

measure "$work/out" "$kovagrep" -c -i 'NEEDLE 検索$' "$big"
check "ignoring case, at the line end" "0:512" "$status:$(cat "$work/out")"
bounded "ignoring case" "$kb" $((64 * 1024))

measure "$work/out" "$kovagrep" -c absent "$big"
check "no match" "1:0" "$status:$(cat "$work/out")"
rm -f "$big"

echo "== A line of 50 MB"
long=$work/KOVA4.TXT
line_mb=50
{
  printf 'first needle\n'
  head -c $((line_mb * 1024 * 1024 / 2)) /dev/zero | tr '\0' 'x'
  printf ' needle '
  head -c $((line_mb * 1024 * 1024 / 2)) /dev/zero | tr '\0' 'y'
  printf '\nlast needle\n'
} >"$long"

measure "$work/out" "$kovagrep" -n needle "$long"
check "lines reported" "0:1 2 3" "$status:$(cut -d: -f1 "$work/out" | tr '\n' ' ' | sed 's/ $//')"
# "2:", the line (the runs and " needle ") and its line end.
check "the long line whole" "$((2 + line_mb * 1024 * 1024 + 8 + 1))" "$(sed -n 2p "$work/out" | wc -c)"
# Memory grows with the longest line, not with the file: the reader keeps
# the current line (its carried part grows by doubling) and the line scan
# sees it whole, about 3 times the line; a reported line is copied and
# converted to UTF-8 for the terminal on top of that, about 9 times.
line_kb=$((line_mb * 1024))
bounded "50 MB line, reported" "$kb" $((10 * line_kb + 16 * 1024))
echo "        ${seconds} s"

measure "$work/out" "$kovagrep" -c 'x y' "$long"
check "no match in the long line" "1:0" "$status:$(cat "$work/out")"
bounded "50 MB line, no match" "$kb" $((4 * line_kb + 16 * 1024))

measure "$work/out" "$kovagrep" -c 'x+ needle y' "$long"
check "a pattern over the long line" "0:1" "$status:$(cat "$work/out")"
bounded "50 MB line, pattern" "$kb" $((5 * line_kb + 16 * 1024))

echo "== Files that are not what their size says"
fifo=$work/KOVA2.TXT
mkfifo "$fifo"
# A writer that comes later: kovagrep waits in the open, then reads to the end.
(sleep 0.5; for k in $(seq 1 3000); do printf 'fifo entry %d needle\r\n' "$k"; done >"$fifo") &
measure "$work/out" "$kovagrep" -c 'entry [0-9]*7 needle' "$fifo"
wait
check "a FIFO read to its end" "0:300" "$status:$(cat "$work/out")"
# No writer at all: Ctrl-C ends the wait.
start=$(date +%s.%N)
set +e
timeout --preserve-status -s INT 1 "$kovagrep" -c needle "$fifo" >/dev/null 2>&1
status=$?
set -e
waited=$(echo "$(date +%s.%N) - $start" | bc)
check "Ctrl-C while waiting for a FIFO's writer" "130" "$status"
echo "        ended after ${waited} s"

if [ -r /proc/kallsyms ] && [ "$(stat -c %s /proc/kallsyms)" = 0 ]; then
  measure "$work/out" "$kovagrep" -c '^' /proc/kallsyms
  check "a file whose size reads 0 (/proc/kallsyms), every line" "0:$(wc -l </proc/kallsyms)" "$status:$(cat "$work/out")"
else
  echo "  skip  /proc/kallsyms is not a readable file of size 0 here"
fi

# A file that grows while it is read: lines appended during the search are
# either found whole or not at all, never cut where a block ended.
grow=$work/KOVA3.TXT
for k in $(seq 1 2000); do printf 'old entry %d %s\n' "$k" "$(head -c 2000 /dev/zero | tr '\0' o)"; done >"$grow"
(for k in $(seq 1 200); do printf 'line-appended %d %s end\n' "$k" "$(head -c 24000 /dev/zero | tr '\0' x)"; done >>"$grow") &
measure "$work/out" "$kovagrep" -n 'line-appended' "$grow"
wait
cut_lines=$(grep -c -v ' end$' "$work/out" || true)
check "appended lines found whole ($(wc -l <"$work/out") found)" "0:0" "$status:$cut_lines"
measure "$work/out" "$kovagrep" -c 'line-appended [0-9]* x* end$' "$grow"
check "after the growth, every appended line" "0:200" "$status:$(cat "$work/out")"

echo "== Line numbers past 2^31 and 2^32"
many=$work/KOVA6.TXT
mkfifo "$many"
lines=$(((1 << 32) + 5))
({ head -c "$lines" < <(yes ''); printf 'needle\n'; } >"$many") &
measure "$work/out" "$kovagrep" -n needle "$many"
wait
check "the line after 2^32 + 5 empty lines" "0:$((lines + 1)):needle" "$status:$(cat "$work/out")"
bounded "4 GB stream of line feeds" "$kb" $((64 * 1024))
echo "        ${seconds} s"

echo "== Attempts that cross every line end"
cross=$work/KOVA7.TXT
entries() { awk -v n="$1" 'BEGIN { for (k = 1; k <= n; k++) printf "entry %d of the dictionary\r\n", k }'; }
{ printf 'first zyzzyva\r\n'; entries 400000; } >"$cross"
measure "$work/out" "$kovagrep" -c '(.|\n)*zyzzyva' "$cross"
check "the word in the first line only: that line" "0:1" "$status:$(cat "$work/out")"
echo "        ${seconds} s for $(stat -c %s "$cross") bytes"
{ entries 400000; printf 'last zyzzyva\r\n'; } >"$cross"
measure "$work/out" "$kovagrep" -c '(.|\n)*zyzzyva' "$cross"
check "the word in the last line: every line" "0:400001" "$status:$(cat "$work/out")"
echo "        ${seconds} s, peak memory $((kb / 1024)) MB"

echo "== A line without end, under a memory limit"
zero=$work/KOVA1.TXT
ln -s /dev/zero "$zero"
printf 'needle\n' >"$work/after.txt"
limit_kb=$((1024 * 1024))
set +e
(ulimit -v "$limit_kb"; /usr/bin/time -o "$work/time" -f '%M %e' "$kovagrep" needle "$zero" "$work/after.txt" \
  >"$work/out" 2>"$work/stderr")
status=$?
set -e
read -r kb seconds < <(tail -n 1 "$work/time")
check "exit status, and the next file still searched" "2:$work/after.txt:needle" "$status:$(cat "$work/out")"
check "the message names the file" "1" "$(grep -c "$zero: 行が長すぎてメモリが足りません" "$work/stderr" || true)"
echo "        ${seconds} s, peak memory $((kb / 1024)) MB under a limit of $((limit_kb / 1024)) MB"

if [ "$failed" -ne 0 ]; then
  echo "== FAILED"
  exit 1
fi
echo "== All hostile inputs passed"
