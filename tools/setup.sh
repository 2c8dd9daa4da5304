#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Only missing packages are installed; through sudo when not run as root.
# Without root and without sudo it names the missing packages and fails.
set -euo pipefail

packages=(
  cmake g++ make pkg-config          # build
  libgtest-dev                       # engine tests
  qt6-base-dev qt6-base-dev-tools    # the desktop application and its tests
  fonts-ipafont-gothic               # a Japanese font for the window
  clang libclang-rt-14-dev           # fuzz targets (libFuzzer)
  desktop-file-utils appstream man-db  # the install check's validators
  dpkg-dev file                      # the Debian package (cpack -G DEB, library scan)
  ripgrep time locales edict         # bench/grep_bench.sh: a peer, memory, grep's SJIS locale, corpus
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "setup.sh: please install as root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
