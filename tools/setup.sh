#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Only missing packages are installed; through sudo when not run as root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config          # build
  libgtest-dev                       # engine tests
  qt6-base-dev qt6-base-dev-tools    # the desktop application and its tests
  fonts-ipafont-gothic               # a Japanese font for the window
  clang libclang-rt-14-dev           # fuzz targets (libFuzzer)
  ripgrep time locales edict         # bench/grep_bench.sh: a peer, memory, grep's SJIS locale, corpus
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
