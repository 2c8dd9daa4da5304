#!/usr/bin/env bash
# Installs a built tree into a staging folder, as a package build does, and
# checks what a desktop and a terminal user get: the desktop entry, the
# AppStream metainfo and both manual pages pass their validators, and the
# icons, sample dictionaries and licence are where they belong.
# Usage: install_check.sh BUILD_DIR
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail=0
problem() { echo "install check: $*" >&2; fail=1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
share="$stage/usr/share"

# Validators that may only warn on their output still count as failing here.
out=$(desktop-file-validate "$share/applications/kovalex.desktop" 2>&1) || problem "desktop-file-validate failed"
[ -z "$out" ] || problem "desktop-file-validate: $out"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml >"$stage/appstream.log" 2>&1 ||
  { cat "$stage/appstream.log" >&2; problem "appstreamcli validate failed"; }
for page in kovalex kovagrep; do
  file="$share/man/man1/$page.1"
  [ -f "$file" ] || { problem "missing $file"; continue; }
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null) || problem "man -l $page.1 failed"
  [ -z "$warnings" ] || problem "man $page.1: $warnings"
done

for file in bin/kovalex bin/kovagrep share/icons/hicolor/scalable/apps/kovalex.svg \
  share/icons/hicolor/48x48/apps/kovalex.png share/icons/hicolor/128x128/apps/kovalex.png \
  share/icons/hicolor/256x256/apps/kovalex.png share/doc/kovalex/LICENSE share/doc/kovalex/copyright \
  share/kovalex/dictionaries/KOVA4.TXT share/bash-completion/completions/kovagrep \
  share/zsh/vendor-completions/_kovagrep share/fish/vendor_completions.d/kovagrep.fish; do
  [ -e "$stage/usr/$file" ] || problem "missing /usr/$file"
done
"$stage/usr/bin/kovalex" --version | grep -q '^kovalex .* [0-9]' || problem "kovalex --version"

[ "$fail" -eq 0 ] && echo "install check: passed"
exit "$fail"
