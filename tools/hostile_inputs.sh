#!/usr/bin/env bash
# Hostile inputs too large or too slow for the test suite.
#
# grep: searches dictionaries with kovagrep and checks the results and the
# peak memory (resident set, from /usr/bin/time):
#  - a 2 GB dictionary, made sparse with truncate: 512 entries, one every
#    4 MB, with runs of zero bytes (read as spaces) between them;
#  - a dictionary with one line of 50 MB between two short lines;
#  - files that are not what their size says: a FIFO (with and without a
#    writer; Ctrl-C while kovagrep waits), a file whose size reads 0
#    (/proc/kallsyms), a file that grows while it is read;
#  - line numbers past 2^31 and 2^32, from a stream of 4 GB of line feeds;
#  - a pattern whose attempts cross every line end, over 10 MB;
#  - a line without end (/dev/zero) under a memory limit (ulimit -v).
# window: runs the program itself (offscreen) against hostile settings files
# and ends it by a signal, as a desktop session ends it:
#  - a FIFO as the settings file, a window stored as 100000 x 100000 pixels,
#    a settings file with a hard link in a folder nobody may write, a
#    temporary file left by a killed save; SIGTERM and SIGHUP.
#
#   tools/hostile_inputs.sh [grep] [window]   (both when none is named;
#                                               BUILD_DIR=build-hostile; TMPDIR for the files)
#
# Needs about 60 MB of disk for the files and a few seconds to a minute of
# CPU per search.  Exits non-zero when a result or a memory bound is wrong.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-hostile}
sections=${*:-grep window}

work=$(mktemp -d "${TMPDIR:-/tmp}/kovalex-hostile-XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
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

grep_inputs() {
echo "== Build kovagrep ($build/)"
cmake --preset dev -B "$build" >/dev/null
cmake --build "$build" -j 2 --target kovagrep >/dev/null
kovagrep=$PWD/$build/cli/kovagrep

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

}

# The window, run as a user runs it, ended by a signal.
window_inputs() {
  echo "== Build kovalex ($build/)"
  cmake --preset dev -B "$build" >/dev/null
  cmake --build "$build" -j 2 --target kovalex >/dev/null
  local kovalex=$PWD/$build/ui/kovalex
  local home=$work/window
  mkdir -p "$home"

  # start SETTINGS: runs the program in $home with that settings file and
  # waits until it handles SIGTERM and SIGHUP (its window is then up), at
  # most 30 s; sets pid, or fails and sets pid to nothing.
  start() {
    (cd "$home" && QT_QPA_PLATFORM=offscreen KOVALEX_SETTINGS=$1 exec "$kovalex") >"$work/out" 2>&1 &
    pid=$!
    local caught
    for _ in $(seq 300); do
      caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
      if [ $((16#$caught & 0x4001)) -eq $((0x4001)) ]; then return 0; fi
      sleep 0.1
    done
    echo "  FAIL  the window never came up (settings $1)"
    failed=1
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
    return 1
  }
  # stop SIGNAL: sends it and waits for the end; sets status.
  stop() {
    kill "-$1" "$pid"
    set +e
    wait "$pid"
    status=$?
    set -e
  }
  # sjis TEXT: the text (printf escapes allowed) in Shift-JIS.
  sjis() { printf "$1" | iconv -f UTF-8 -t CP932; }
  # value FILE KEY: a key's value in a Shift-JIS settings file.
  value() { iconv -f CP932 -t UTF-8 "$1" | tr -d '\r' | sed -n "s/^$2=//p" | head -n 1; }

  echo "== A FIFO as the settings file: reported at once, ended by SIGTERM"
  mkfifo "$home/fifo.ini"
  if start "$home/fifo.ini"; then
    stop TERM
    check "exit after SIGTERM" 0 "$status"
    check "still a FIFO" fifo "$(stat -c %F "$home/fifo.ini" | sed 's/.*fifo.*/fifo/')"
  fi

  echo "== A window stored as 100000 x 100000 pixels"
  sjis '[フォーム位置]\r\n幅=100000\r\n高さ=100000\r\n' >"$home/huge.ini"
  if start "$home/huge.ini"; then
    sleep 1
    local kb
    kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status")
    stop HUP
    check "exit after SIGHUP" 0 "$status"
    bounded "window of a huge stored size" "$kb" $((300 * 1024))
    local width height
    width=$(value "$home/huge.ini" 幅)
    height=$(value "$home/huge.ini" 高さ)
    echo "        saved client size ${width}x${height}"
    check "saved size within the offscreen screen" yes "$([ "$width" -le 800 ] && [ "$height" -le 800 ] && echo yes)"
  fi

  echo "== A settings file with a hard link, in a folder nobody may write"
  mkdir "$home/conf"
  sjis '[表示]\r\n検索件数=250\r\n' >"$home/conf/kovalex.ini"
  ln "$home/conf/kovalex.ini" "$home/conf/link.ini"
  local inode
  inode=$(stat -c %i "$home/conf/kovalex.ini")
  chmod 555 "$home/conf"
  if start "$home/conf/kovalex.ini"; then
    stop TERM
    check "exit after SIGTERM" 0 "$status"
    check "same file, both links" "$inode 2" "$(stat -c '%i %h' "$home/conf/kovalex.ini")"
    check "hit limit kept, keys added" "250 415" \
      "$(value "$home/conf/link.ini" 検索件数) $(value "$home/conf/link.ini" 幅)"
  fi
  chmod 755 "$home/conf"

  echo "== A temporary file of a save that was killed"
  true &
  local gone=$!
  wait "$gone"
  printf '[' >"$home/.kovalex.ini.tmp-$gone-0"
  if start "$home/kovalex.ini"; then
    stop TERM
    check "exit after SIGTERM" 0 "$status"
    check "saved, the temporary file removed" "kovalex.ini" \
      "$(cd "$home" && ls -A | grep kovalex.ini | tr '\n' ' ' | sed 's/ $//')"
  fi
}

for section in $sections; do
  case $section in
    grep) grep_inputs ;;
    window) window_inputs ;;
    *)
      echo "unknown section: $section (grep, window)" >&2
      exit 2
      ;;
  esac
done

if [ "$failed" -ne 0 ]; then
  echo "== FAILED"
  exit 1
fi
echo "== All hostile inputs passed"
