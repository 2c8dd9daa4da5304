#!/usr/bin/env bash
# kovagrep from a terminal's point of view: output format, encodings, options
# and exit statuses.  Usage: kovagrep_test.sh PATH/TO/kovagrep
set -u
kovagrep=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

sjis $'■cat {名} 猫\r\n■dog {名} 犬\r\n■catalog {名} 目録\r\n' > "$dir/a.txt"
sjis $'■ねこ 猫\r\n■light 光\r\n' > "$dir/b.txt"

out=$("$kovagrep" cat "$dir/a.txt"); status=$?
check "plain lines as UTF-8" $'■cat {名} 猫\n■catalog {名} 目録' "$out"
check "status when found" 0 "$status"

out=$("$kovagrep" -n 猫 "$dir/a.txt" "$dir/b.txt")
check "names and numbers with several files" "$dir/a.txt:1:■cat {名} 猫"$'\n'"$dir/b.txt:1:■ねこ 猫" "$out"

out=$("$kovagrep" -h -n 猫 "$dir/a.txt" "$dir/b.txt" | head -1)
check "-h drops names" "1:■cat {名} 猫" "$out"

out=$("$kovagrep" -H CAT -i "$dir/a.txt")
check "-H and -i" "$dir/a.txt:■cat {名} 猫"$'\n'"$dir/a.txt:■catalog {名} 目録" "$out"

out=$("$kovagrep" -c cat "$dir/a.txt")
check "-c bare count for one file" 2 "$out"
out=$("$kovagrep" -c 猫 "$dir/a.txt" "$dir/b.txt")
check "-c per file" "$dir/a.txt:1"$'\n'"$dir/b.txt:1" "$out"

out=$("$kovagrep" --sjis 犬 "$dir/a.txt" | iconv -f CP932 -t UTF-8)
check "--sjis writes the file's bytes" "■dog {名} 犬" "$out"

"$kovagrep" zebra "$dir/a.txt" > /dev/null; status=$?
check "status when nothing found" 1 "$status"

err=$("$kovagrep" 'ca(t' "$dir/a.txt" 2>&1 >/dev/null); status=$?
check "bad pattern message" "kovagrep: 右(閉じ)括弧が必要です (pattern byte 5)" "$err"
check "bad pattern status" 2 "$status"

err=$("$kovagrep" '😀' "$dir/a.txt" 2>&1 >/dev/null); status=$?
check "pattern without Shift-JIS form fails" 2 "$status"
[ -n "$err" ] || { echo "FAIL no message for a pattern without Shift-JIS form"; failures=$((failures + 1)); }

out=$("$kovagrep" cat "$dir/missing.txt" "$dir/a.txt" 2>"$dir/err"); status=$?
check "a missing file does not stop the others" "$dir/a.txt:■cat {名} 猫"$'\n'"$dir/a.txt:■catalog {名} 目録" "$out"
check "status after an error" 2 "$status"
check "missing file message" "kovagrep: $dir/missing.txt: ファイルが見つかりません" "$(cat "$dir/err")"

printf 'ok \xff\xfe bad\n' > "$dir/c.txt"
out=$("$kovagrep" ok "$dir/c.txt")
check "undecodable bytes show as U+FFFD" "ok �� bad" "$out"

"$kovagrep" > /dev/null 2>&1; status=$?
check "usage error status" 2 "$status"

if [ "$failures" -ne 0 ]; then echo "$failures kovagrep check(s) failed"; exit 1; fi
echo "all kovagrep checks passed"
