#!/usr/bin/env bash
# kovagrep against GNU grep: rows of options, the same output (byte for byte) and status; ASCII rows under LC_ALL=C
# with --sjis, Japanese ones under ja_JP.sjis when the system has it.  Then the encodings and the messages.
#   Usage: kovagrep_test.sh PATH/TO/kovagrep
set -u
kovagrep=$(realpath "$1")
root=$(realpath "$(dirname "$0")/../..")
samples=$root/samples
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 2
failures=0
fail() { printf 'FAIL %s\n' "$1"; failures=$((failures + 1)); }

cp "$samples"/KOVA4.TXT "$samples"/KOVA5A.TXT "$samples"/KOVSEN.TXT .
printf 'cat\0dog\ncat food\n' > bin.dat
printf 'cat\r\ndog\r\ncat dog\r\n' > crlf.txt
printf 'a cat\nlast cat' > nofinal.txt
: > empty.txt
printf 'cat\ncats\nthe cat sat\nconcatenate cat\n_cat\ncat_\ncat-dog\n\n  \nCat\n(n) cat\n' > words.txt
printf 'dog\ncat\n' > pats.txt
mkdir -p tree/sub tree/skip
printf 'cat one\n' > tree/a.txt
printf 'cat two\nno\n' > tree/sub/b.txt
printf 'cat three\n' > tree/sub/c.log
printf 'cat four\n' > tree/skip/d.txt
ln -s ../a.txt tree/sub/link.txt
printf 'cat hidden\n' > tree/.hidden.txt
mkdir -p loop/d links
printf 'cat\n' > loop/d/f
ln -s .. loop/d/up
printf 'cat\n' > links/a.txt
ln -s nowhere links/dangling
printf 'a\nb\0cat\0dog\ncat\0x\ncat' > z.bin
printf '*.log \n\nskip\n' > globs.txt
printf 'a{1\nab12\n1234 5678\nx\ty\n*star\n^caret$\na+b?\n(paren)\n[]]\nback\\slash\nfoo_bar baz\naaa\nab\nA1_b2\n-dash\n:colon:\n{1}x\n' > gnu.txt

# Rows: arguments, or mode ## file piped to standard input ## arguments ## why.  Modes: "same" output and status,
# "sorted" output, "status" only, "like" (grep runs the fourth field instead, for what GNU grep 3.8 reads otherwise).
rows=(
  "cat KOVA4.TXT"  "-v -n cat crlf.txt nofinal.txt words.txt"  "-c cat KOVA4.TXT KOVA5A.TXT empty.txt"
  "-l cat KOVA4.TXT KOVSEN.TXT crlf.txt empty.txt"  "-L cat KOVA4.TXT KOVSEN.TXT crlf.txt empty.txt"
  "-o -n 'c[a-z]*t' KOVA4.TXT"  "-o -b 'ca*t' words.txt"  "-w -o -n cat words.txt"  "-E -w -n 'c.t|cat' words.txt"
  "-w -c '' words.txt"  "-x -v -n cat words.txt"  "-m 2 -n cat KOVA4.TXT"  "-m 1 -c cat KOVA4.TXT KOVA5A.TXT"
  "-m 1 -A 3 -n cat KOVA4.TXT"  "-A 3 -C 1 -n ^c words.txt"  "-o -C 1 -n cat words.txt nofinal.txt"
  "-o -v -A 1 dog words.txt nofinal.txt"  "-c -l cat words.txt KOVSEN.TXT"  "-B 3 -b cat KOVA5A.TXT"
  "-C 1 -n -H dog KOVA4.TXT words.txt"  "-2 -v -n -e cat -e a words.txt"  "-b -n cat KOVA4.TXT"
  "-h cat KOVA4.TXT KOVA5A.TXT"  "-H cat KOVA4.TXT"  "-q zyzzyva KOVA4.TXT"  "-q cat missing.txt KOVA4.TXT"
  "-s cat missing.txt KOVA4.TXT"  "-Z -l cat KOVA4.TXT KOVA5A.TXT"  "-Z -c cat KOVA4.TXT KOVA5A.TXT"
  "-Z -n cat KOVA4.TXT KOVA5A.TXT"  "sorted ##  ## -r cat tree ## "  "sorted ##  ## -R -n cat tree ## "
  "sorted ##  ## -r --include='*.txt' cat tree ## "  "sorted ##  ## -r --exclude='*.log' -c cat tree ## "
  "sorted ##  ## -r --exclude-dir=skip -l cat tree ## "  "-f pats.txt -n words.txt"  "-f empty.txt words.txt"
  "-F -c -e . -e '(' KOVA4.TXT words.txt"  "-i -w -o -n CAT words.txt"  "-n '' crlf.txt nofinal.txt"
  "-n -x '' words.txt"  "-c -e zyzzyva -e '' words.txt"
  "status ##  ## cat bin.dat ## kovagrep prints 'Binary file bin.dat matches' on standard output; grep 3.5 and later report it on standard error"
  "-a -n cat bin.dat"  "-c cat bin.dat"  "--binary-files=without-match cat bin.dat words.txt"  "-n cat crlf.txt"
  "cat empty.txt"  "same ## KOVA4.TXT ## -n cat ## "  "same ## words.txt ## -H --label=in -c cat - words.txt ## "
  "same ## KOVA4.TXT ## -v -c cat - ## "  "--color=always -o -b cat words.txt"
  "--color=always -A 1 -n dog words.txt KOVA4.TXT"  "--color=always -v -C 1 cat words.txt"
  "GREP_COLORS='ms=04;32:fn=33:ln=34:se=35' --color=always -n -H c.t words.txt"
  "-E -c '^cat|dog$' words.txt"  "-E -c '(cat|dog)?' words.txt"
  "status ##  ## cat missing.txt ## grep's message names the file and the C library's text, as does kovagrep; only the status is compared"
  # Loops, dangling links and the filters of the walk.
  "sorted ##  ## -R -c cat loop ## "  "sorted ##  ## -R cat links ## "
  "sorted ##  ## -R --include='*.txt' cat links ## "  "sorted ##  ## -r --exclude='.*' cat tree ## "
  "sorted ##  ## -r --include='*.txt' --exclude='a*' cat tree ## "
  "sorted ##  ## -r --exclude='a*' --include='*.txt' cat tree ## "  "sorted ##  ## -r --exclude='sub/*' cat tree ## "
  "sorted ##  ## -r --exclude-dir=sub -c cat tree ./tree/sub ## "
  "sorted ##  ## -r --exclude-from=globs.txt cat tree ## "  "--exclude='*.txt' cat tree/a.txt words.txt KOVA4.TXT"
  "--exclude='b.txt' -c cat tree/sub/b.txt words.txt"  "--exclude='ub/b.txt' -c cat tree/sub/b.txt"
  "-d skip cat tree words.txt"  "-d read cat tree words.txt"  "sorted ##  ## -d recurse -c cat tree ## "
  "-r -d skip cat tree"  "sorted ##  ## -D skip -r -c cat tree ## "
  # Case folding between brackets, -x and -w with the user's anchors and several patterns, context groups, -m 0.
  "-c -i '[a-c]at' words.txt KOVA4.TXT"  "-n -i '[^c]at' words.txt"  "-c -x '^cat$' words.txt"
  "-n -x -e '^cat' -e 'cats$' -e 'the cat sat' words.txt"  "-o -x -n '^the cat sat$' words.txt"
  "-n -w -e cat -e 'cat s' words.txt"  "-c -w -e - -e '' words.txt"  "-C0 -n cat words.txt"
  "-A0 dog words.txt KOVA4.TXT"  "-m 0 cat words.txt missing.txt"  "-m 0 -L cat words.txt empty.txt"
  # GNU's option parsing.
  "status ##  ## --co cat words.txt ## "  "status ##  ## --bin cat words.txt ## "
  "status ##  ## --count=3 cat words.txt ## "  "status ##  ## cat words.txt --label ## "
  "status ##  ## -m 2x cat words.txt ## "  "-m -1 -c cat words.txt"  "-m ' +2' -c cat words.txt"
  "-A 99999999999999999999 -c cat words.txt"  "-1n2 cat words.txt"  "--binary -c cat crlf.txt"  "-U -n cat crlf.txt"
  "-G -c c.t words.txt"
  "like ##  ## -F -E -c c.t words.txt ## -E -c c.t words.txt ## grep 3.8 refuses -F with -E (conflicting matchers); later versions take the last"
  "like ##  ## -E -F -c c.t words.txt ## -F -c c.t words.txt ## likewise"
  # The options added to kovagrep's first set.
  "-z -c cat z.bin"  "-z -n -b cat z.bin"  "-z -o ca. z.bin"  "-z -c a.b z.bin"  "-z -x -c dog.cat z.bin"
  "-z -v -n cat z.bin"  "same ## z.bin ## -z -A1 -n cat ## "  "-T -n -H cat words.txt KOVA4.TXT"
  "-T -b -o cat words.txt"  "same ## words.txt ## -T -n -C1 cat ## "  "-I -c cat bin.dat words.txt"
  "--group-separator=XX -A0 cat words.txt"  "--group-separator= -C0 cat words.txt"
  "--no-group-separator -A1 -n cat words.txt"  "GREP_COLORS='sl=1:cx=2' --color=always -A1 -n cat words.txt"
  "GREP_COLORS='sl=1:cx=2:rv' --color=always -v -A1 -n dog words.txt"
  "GREP_COLORS='ne:mt=7' --color=always -H cat words.txt"  "GREP_COLORS='ms=:sl=4' --color=always cat words.txt"
  # GNU grep's basic (-G) and extended (-E) languages, GNU's readings of odd forms included.
  "-G -n '[[:digit:]]\\{4\\}' gnu.txt"  "-E -n '[[:digit:]]{4}' gnu.txt"  "-E -o '[[:alpha:]]+|[[:punct:]]' gnu.txt"
  "-E -c '[[:space:]]|[[:blank:]]' gnu.txt"  "-E -o '[[:upper:][:xdigit:]]+' gnu.txt"
  "-E -o '[^[:alnum:][:space:]]+' gnu.txt"  "-E -n '[]]' gnu.txt"  "-E -n '[^]a-z[:digit:]]' gnu.txt"
  "-E -o '[[=a=]][[.b.]]' gnu.txt"  "-E -o '[a-]+|[-x]' gnu.txt"  "-E -o 'a{2}|[0-9]{2,3}|b{,1}c' gnu.txt words.txt"
  "-E -o 'a{1,}' gnu.txt"  "-E -n 'a{1' gnu.txt"  "-E -n '{1}x' gnu.txt"  "-E -o 'a{1}{2}' gnu.txt"
  "-G -o 'a\\{1,2\\}' gnu.txt"  "-G -n 'a{1' gnu.txt"  "-G -n '\\(ab\\|12\\)\\+' gnu.txt"  "-G -o 'a\\+b\\?' gnu.txt"
  "-G -n '*star' gnu.txt"  "-G -n '\\(*star\\)' gnu.txt"  "-G -n '^*' gnu.txt"  "-G -n 'a**' gnu.txt"
  "-E -n 'a**' gnu.txt"  "-G -n 'a+b?' gnu.txt"  "-G -n '(paren)' gnu.txt"  "-E -n '\\(paren\\)' gnu.txt"
  "-E -n 'n)' gnu.txt"  "-G -n '^^caret\\$\$' gnu.txt"  "-G -n 'c^a' words.txt gnu.txt"  "-E -n 'c^a|t\$\$' gnu.txt"
  "-E -c 'x*^c' words.txt"  "-E -n '(^|_)cat(_|\$)' words.txt"  "-E -n 'back\\\\slash' gnu.txt"  "-G -n '\\.' gnu.txt"
  "-E -o '\\w+' gnu.txt"  "-E -o '\\W+' gnu.txt"  "-E -o '\\s\\S' gnu.txt"  "-E -o '\\<[a-z]' gnu.txt words.txt"
  "-E -o '[a-z]\\>' gnu.txt words.txt"  "-E -n '\\bcat\\b' words.txt"  "-E -o '\\Ba\\B' words.txt"
  "-G -c '\\\`c' words.txt"  "same ##  ## -G -c \"t\\\\'\" words.txt ## "  "-E -o -b '\\b' words.txt"
  "-E -c '\\<' words.txt"  "-E -x '\\bcats?' words.txt"  "-E -w -o 'cat\\>' words.txt"  "-E -v -c '\\Bcat' words.txt"
  "--color=always -E '\\bca|at\\b' words.txt"  "-E -e '\\<con' -e 'dog\\b' -n words.txt"
  "-E -c -e '' -e 'a{2}' words.txt gnu.txt"  "-G -n -x -e 'ca\\(t\\|ts\\)' -e '' words.txt"
  "-E -i -o '[[:upper:]]+' gnu.txt"  "-G -i -n '[^a-c]AT' words.txt"  "-E -i -c 'CAT\\b' words.txt"
  "-E -n 'a\\d' gnu.txt"  "-E -n '*star|+' gnu.txt"  "status ##  ## -G 'a\\(b' gnu.txt ## "
  "status ##  ## -G 'a\\)' gnu.txt ## "  "status ##  ## -E '(a' gnu.txt ## "  "status ##  ## -E 'a{2,1}' gnu.txt ## "
  "status ##  ## -E 'a{99999}' gnu.txt ## "  "status ##  ## -G 'a\\{1' gnu.txt ## "
  "status ##  ## -E '[[:foo:]]' gnu.txt ## "  "status ##  ## -E '[:space:]' gnu.txt ## "
  "status ##  ## -E '[[.ab.]]' gnu.txt ## "  "status ##  ## -E '[z-a]' gnu.txt ## "  "status ##  ## -E '[a' gnu.txt ## "
  "status ##  ## -E 'a\\' gnu.txt ## "
)

sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

run_row() {  # run_row LOCALE PROGRAM STDIN ARGS... : output to $dir/out.N
  local locale=$1 prog=$2 input=$3
  shift 3
  local envs=()
  while [ $# -gt 0 ] && [[ $1 == GREP_COLORS=* ]]; do envs+=("$1"); shift; done
  if [ -n "$input" ]; then
    cat "$input" | env LC_ALL="$locale" "${envs[@]}" $prog "$@" 2>/dev/null
  else
    env LC_ALL="$locale" "${envs[@]}" $prog "$@" 2>/dev/null
  fi
}

check_rows() {  # check_rows LOCALE KOVAGREP_EXTRA ROWS...
  local locale=$1 extra=$2
  shift 2
  local row mode input args gargs rest
  for row in "$@"; do
    [[ $row == *" ## "* ]] || row="same ##  ## $row ## "  # a row of arguments alone
    mode=${row%% ## *}; rest=${row#* ## }
    input=${rest%% ## *}; rest=${rest#* ## }
    args=${rest%% ## *}; rest=${rest#* ## }
    gargs=$args
    [ "$mode" = like ] && gargs=${rest%% ## *}
    [ "$locale" = ja_JP.sjis ] && args=$(sjis "$args") && gargs=$(sjis "$gargs")
    eval "set -- $args"
    run_row "$locale" "$kovagrep $extra" "$input" "$@" > k.out; kstatus=$?
    eval "set -- $gargs"
    run_row "$locale" grep "$input" "$@" > g.out; gstatus=$?
    if [ "$mode" = sorted ]; then sort -o k.out k.out; sort -o g.out g.out; fi
    [ "$kstatus" = "$gstatus" ] || fail "[$locale] $args: status $kstatus, grep $gstatus"
    if [ "$mode" != status ] && ! cmp -s k.out g.out; then
      fail "[$locale] $args: output differs"
      diff <(od -c k.out) <(od -c g.out) | head -8
    fi
  done
}

check_rows C --sjis "${rows[@]}"

# Japanese patterns in a Shift-JIS terminal: patterns and output in Shift-JIS.
if locale -a 2>/dev/null | grep -qix 'ja_JP.sjis'; then
  # Rows converted to Shift-JIS whole; no ranges of double-byte characters (grep's follow the locale's collation).
  sjis_rows=(
    "-n 猫 KOVA4.TXT KOVA5A.TXT"  "-c -v 検索 KOVA4.TXT"  "-F -n '{名}' KOVA4.TXT KOVA5A.TXT"  "-w -n 猫 KOVA4.TXT"
    "-E -x -c '■.*' KOVA4.TXT"  "same ## KOVA5A.TXT ## -o -n -i 'the [a-z]+ 猫' ## "
  )
  check_rows ja_JP.sjis "" "${sjis_rows[@]}"
  # GNU's classes, \w, word assertions and -i on double-byte text, trail bytes like "\\" or "P" (grep cuts none here).
  printf 'ケP\n漢字かなカナ\n全角ＡＢＣ１２３\n　全角空白\nソ表\\x\nΑβγ Жж\n猫_ねこ ｶﾀｶﾅ\n「括弧」、。\nabc１２\n' | iconv -f UTF-8 -t CP932 > ja.txt
  gnu_sjis_rows=(
    "-E -o '[[:alpha:]]+' ja.txt"  "-E -c '[[:digit:]]' ja.txt"  "-E -o '[[:alnum:]]+|[[:space:]]' ja.txt"
    "-E -o '[[:punct:]]+' ja.txt"  "-E -o '[[:upper:]]+|[[:lower:]]+' ja.txt"  "-E -o '[[:graph:]]+|[[:print:]]' ja.txt"
    "-E -o '\\w+|\\W' ja.txt"  "-E -o '\\<.|.\\>' ja.txt"  "-E -o '\\bね|\\B.' ja.txt"  "-E -i -o 'ａｂ|αΒΓ|жЖ' ja.txt"
    "-G -c 'P' ja.txt"  "-E -o '表.' ja.txt"  "-E -o '[^ア]+' ja.txt"  "-E -x '.{4}' ja.txt"
    "-G -o 'か\\{0,1\\}な' ja.txt"
  )
  check_rows ja_JP.sjis "" "${gnu_sjis_rows[@]}"
  [ "$(LC_ALL=ja_JP.sjis "$kovagrep" -c "$(sjis 猫)" KOVA4.TXT)" -gt 0 ] || fail "Shift-JIS pattern in a Shift-JIS locale"
else
  echo "note: no ja_JP.sjis locale; Shift-JIS locale rows skipped (tools/setup.sh creates it)"
fi

# UTF-8 terminals: patterns read and lines written as UTF-8 (no CR), as grep on the file converted.
iconv -f CP932 -t UTF-8 KOVA4.TXT | tr -d '\r' > utf8.txt
utf8_rows=(
  "-n 猫"  "-E -o -n '[ァイウエオネコ]+.'"  "-E -c '猫|犬'"  "-w -n 猫"  "-E -o -w -i '[a-z]+ 猫'"
  "--color=always -n '猫.'"
)
for args in "${utf8_rows[@]}"; do
  eval "set -- $args"
  k=$(LC_ALL=C.UTF-8 "$kovagrep" "$@" KOVA4.TXT)
  g=$(LC_ALL=C.UTF-8 grep "$@" utf8.txt)
  [ "$k" = "$g" ] || fail "UTF-8 pattern and output: $args"
done
[ "$(LC_ALL=C.UTF-8 "$kovagrep" -o '猫.' KOVA4.TXT | head -1)" = "$(LC_ALL=C.UTF-8 "$kovagrep" --output-encoding=sjis -o '猫.' KOVA4.TXT | head -1 | iconv -f CP932 -t UTF-8)" ] ||
  fail "--output-encoding=sjis"
# On purpose: a double-byte character is one, so "[A" does not match inside "ー" (0x81 0x5B) then "A".
printf '\x81\x5bA\n' > boundary.txt
[ "$(LC_ALL=C "$kovagrep" -c -F '[A' boundary.txt):$(LC_ALL=C grep -c -F '[A' boundary.txt)" = 0:1 ] ||
  fail "no match across a double-byte character"

# A FIFO has no size: it is read to its end, over several of the reader's blocks, the last line without a line end.
awk 'BEGIN { for (i = 0; i < 30000; i++) printf "entry %d\r\n", i; printf "no final line feed" }' > entries.txt
mkfifo fifo && (timeout 20 sh -c 'cat entries.txt > fifo' &)
LC_ALL=C timeout 20 "$kovagrep" --sjis -n '' fifo | cmp -s - <(LC_ALL=C grep -n '' entries.txt) || fail "a FIFO read to its end"

# Standard input is read from where it stands.
from8() { { dd bs=8 count=1 of=/dev/null 2>/dev/null; LC_ALL=C "$@" -n cat; } < words.txt; }
[ "$(from8 "$kovagrep")" = "$(from8 grep)" ] || fail "standard input read from where it stands"

# A lone CR ends a line for the engine, and so for kovagrep's numbers and context.
printf 'a\rcat\rb\r\ncat\nc\n' > lonecr.txt
[ "$(LC_ALL=C "$kovagrep" -n -A 1 cat lonecr.txt | tr '\r' R)" = $'2:cat\n3-b\n4:cat\n5-c' ] || fail "lone CR line ends"
printf 'ok \xff\x85\x40 bad\r\n' > bad.txt
[ "$(LC_ALL=C.UTF-8 "$kovagrep" ok bad.txt)" = "ok �� bad" ] || fail "undecodable bytes as U+FFFD"
for f in KOVA4.TXT crlf.txt bad.txt bin.dat; do
  "$kovagrep" -a --sjis '' "$f" | cmp -s - "$f" || fail "--sjis is byte-exact: $f"
done
printf 'cat\n' | LC_ALL=C.UTF-8 "$kovagrep" -c '😀' 2>/dev/null; [ $? = 2 ] || fail "a pattern without a Shift-JIS form is an error"
# The engine's messages: English outside a Japanese locale (LC_ALL, LC_MESSAGES, LANG), else Japanese.
err=$(LC_ALL=C.UTF-8 "$kovagrep" 'ca(t' words.txt 2>&1); status=$?
[ "$status" = 2 ] && [ "$err" = 'kovagrep: a right parenthesis ")" is needed (pattern byte 5)' ] || fail "pattern error: $err"
err=$(env -u LC_ALL LC_MESSAGES=ja_JP.UTF-8 LANG=C "$kovagrep" -e ok -e 'ca(t' words.txt 2>&1)
[ "$err" = "kovagrep: 右(閉じ)括弧が必要です (pattern 2, byte 5)" ] || fail "pattern error in Japanese: $err"
err=$(LC_ALL=C LANG=ja_JP.UTF-8 "$kovagrep" -e 'a\nb' words.txt 2>&1)
[ "$err" = "kovagrep: lines hold no line feed (lines that end in a zero byte and may hold them are searched with -z) (pattern byte 4)" ] ||
  fail "LC_ALL before LANG: $err"
err=$(LC_ALL=ja_JP.sjis "$kovagrep" 'ca(t' words.txt 2>&1 | iconv -f CP932 -t UTF-8)
[ "$err" = "kovagrep: 右(閉じ)括弧が必要です (pattern byte 5)" ] || fail "pattern error in a Shift-JIS terminal: $err"
"$kovagrep" --no-such-option cat words.txt 2>/dev/null; [ $? = 2 ] || fail "usage error status"

# -G and -E: a back-reference is refused; GNU's warnings do not stop the search; the program's name.
err=$(LC_ALL=C "$kovagrep" -E '(a)\1' words.txt 2>&1); status=$?
[ "$status" = 2 ] && [ "$err" = "kovagrep: back-references are not supported (the engine is an automaton) (pattern byte 6)" ] ||
  fail "back-reference: $status $err"
err=$(LC_ALL=C "$kovagrep" -E -c 'c\at|*x' words.txt 2>&1 >/dev/null)
[ "$err" = $'kovagrep: warning: stray \\ before a\nkovagrep: warning: * at start of expression' ] || fail "warnings: $err"
[ "$(LC_ALL=C "$kovagrep" -E -c 'c\at|*x' words.txt 2>/dev/null)" = 8 ] || fail "a warning does not stop the search"
ln -s "$kovagrep" ./mygrep
err=$(LC_ALL=C ./mygrep 'ca(t' words.txt 2>&1; ./mygrep --bad 2>&1 | tail -1)
[ "$err" = $'mygrep: a right parenthesis ")" is needed (pattern byte 5)\nTry \'mygrep --help\' for more information.' ] ||
  fail "the program's name: $err"

# A loop of links is a warning in GNU grep's words; an input that is the output is an error (on a copy).
loops() { (cd loop && LC_ALL=C "$1" -R -c cat . 2>&1 >/dev/null | sed 's/^[a-z]*grep:/GREP:/' | sort); }
[ "$(loops "$kovagrep")" = "$(loops grep)" ] || fail "loop warning: $(loops "$kovagrep")"
for prog in "$kovagrep" grep; do
  rm -rf self && cp -r tree self
  (cd self && LC_ALL=C $prog -r cat . > out.txt 2> err.txt; echo "$? $(sort out.txt | tr '\n' ,) $(sed 's/^[a-z]*grep://' err.txt)") > "self.$(basename "$prog")"
  (cd self && LC_ALL=C $prog cat < out.txt >> out.txt 2>/dev/null; echo " $?") >> "self.$(basename "$prog")"
done
cmp -s self.kovagrep self.grep || fail "input file is also the output: $(cat self.kovagrep)"

# The line feed: no class holds it; a pattern that names it is refused, pointing to -z, which takes it.
[ "$(LC_ALL=C "$kovagrep" -n '[\x01-\x7F]*at$' words.txt)" = "$(LC_ALL=C grep -n 'at$' words.txt)" ] || fail "a range over the line feed"
err=$(LC_ALL=C "$kovagrep" -c 'a\nb' words.txt 2>&1); status=$?
[ "$status" = 2 ] && [[ $err == *-z* ]] || fail "\\n refused: $status $err"
[ "$(printf 'a\nb\0' | "$kovagrep" -z -c 'a\nb')" = 1 ] || fail "-z takes \\n"
# Refusals: -P in one line; an unknown --color or -d word (GNU grep 3.8 takes them otherwise).
err=$("$kovagrep" -P cat words.txt 2>&1); status=$?
[ "$status" = 2 ] && [ "$(wc -l <<<"$err")" = 1 ] || fail "-P: $status $err"
for bad in --color=n '-d nowhere'; do
  "$kovagrep" $bad cat words.txt >/dev/null 2>&1; [ $? = 2 ] || fail "$bad is an error"
done

# Every long option is in --help and in the manual page.
help=$("$kovagrep" --help)
for option in $(sed -n 's/^ *{[^,]*, [^,]*, "\([a-z-]*\)", .*/\1/p' "$root/cli/optiontable.cpp"); do
  grep -q -- "--$option" <<<"$help" || fail "--$option missing from --help"
  grep -qF -- "\\-\\-${option//-/\\-}" "$root/doc/kovagrep.1.in" || fail "--$option missing from kovagrep.1"
done

# A write error ends the search at once with status 2.
if [ -w /dev/full ]; then
  "$kovagrep" '' KOVA4.TXT KOVA5A.TXT > /dev/full 2>/dev/null; [ $? = 2 ] || fail "write error status"
fi
(trap '' PIPE; "$kovagrep" -r '' "$samples" 2>err.txt | head -1 > /dev/null; echo "${PIPESTATUS[0]}" > status.txt)
[ "$(cat status.txt)" = 2 ] && grep -q 'write error' err.txt || fail "closed pipe with SIGPIPE ignored"

if [ "$failures" -ne 0 ]; then echo "$failures kovagrep check(s) failed"; exit 1; fi
echo "all kovagrep checks passed"
