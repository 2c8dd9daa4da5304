#!/usr/bin/env bash
# kovagrep's completions in bash, zsh and fish: options, their words, file names.  Usage: completion_test.sh COMPLETIONS
set -u
completions=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 2
touch a.txt b.log
failures=0
fail() { printf 'FAIL %s\n' "$1"; failures=$((failures + 1)); }

# bash: the completion function on a command line's words ("=" a word of its own).  Rows: words ## expected.
rows=(
  "kovagrep --inc ## --include="  "kovagrep --colo ## --color --color= --colour --colour="
  "kovagrep --color = ## always never auto"  "kovagrep --binary-files = w ## without-match"
  "kovagrep -d r ## read recurse"  "kovagrep --devices=s ## --devices=skip"  "kovagrep -f a. ## a.txt"
  "kovagrep -e a. ## "  "kovagrep -n cat b ## b.log"  "kovagrep --group ## --group-separator="
)
for row in "${rows[@]}"; do
  words=${row%% ## *} expected=${row#* ## }
  got=$(bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kovagrep; echo "${COMPREPLY[*]}"' \
    bash "$completions/kovagrep" $words 2>&1)
  [ "$got" = "$expected" ] || fail "bash: $words: '$got', expected '$expected'"
done

# zsh and fish, when installed (tools/setup.sh installs them): the scripts parse, and fish completes from them.
if command -v zsh >/dev/null; then
  zsh -n "$completions/_kovagrep" || fail "zsh cannot read _kovagrep"
  head -1 "$completions/_kovagrep" | grep -qx '#compdef kovagrep' || fail "_kovagrep is no zsh completion function"
else
  echo "note: no zsh; its completion is not tried"
fi
if command -v fish >/dev/null; then
  fish -n "$completions/kovagrep.fish" || fail "fish cannot read kovagrep.fish"
  got=$(fish -c "source '$completions/kovagrep.fish'; complete -C 'kovagrep --inc'; complete -C 'kovagrep -D '" | cut -f1)
  [ "$got" = $'--include\nread\nskip' ] || fail "fish: '$got'"
else
  echo "note: no fish; its completion is not tried"
fi

if [ "$failures" -ne 0 ]; then echo "$failures completion check(s) failed"; exit 1; fi
echo "all completion checks passed"
