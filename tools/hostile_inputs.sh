#!/usr/bin/env bash
# Searches dictionaries too large for the test suite with kovagrep and checks
# the results and the peak memory (resident set, from /usr/bin/time):
#  - a 2 GB dictionary, made sparse with truncate: 512 entries, one every
#    4 MB, with runs of zero bytes (read as spaces) between them;
#  - a dictionary with one line of 50 MB between two short lines.
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
# zero bytes before it (the first record's an empty first line).
measure "$work/out" "$kovagrep" -n 'entry 511 needle' "$big"
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

if [ "$failed" -ne 0 ]; then
  echo "== FAILED"
  exit 1
fi
echo "== All hostile inputs passed"
