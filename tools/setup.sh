#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Only missing packages are installed; through sudo when not run as root.
# Without root and without sudo it names the missing packages and fails.
set -euo pipefail

packages=(
  cmake g++ make pkg-config          # build
  python3 ninja-build ccache         # sample dictionaries from their sources; tools/mutation.sh
  libgtest-dev                       # engine tests
  qt6-base-dev qt6-base-dev-tools    # the desktop application and its tests
  qt6-translations-l10n              # the toolkit's standard dialogs in the user's language
  qt6-base-private-dev               # window tests switch the toolkit's accessibility on, as its own tests do
  fonts-ipafont-gothic               # a Japanese font for the window
  clang libclang-rt-14-dev           # fuzz targets (libFuzzer)
  desktop-file-utils appstream man-db  # the install check's validators
  dpkg-dev file                      # the Debian package (cpack -G DEB, library scan)
  ripgrep time locales edict         # peers, peak memory and the corpus of bench/; the Shift-JIS locale of kovagrep's tests
)

# kovagrep's tests compare it with GNU grep in a Shift-JIS locale; made once,
# after the packages (the locale sources come with "locales").
make_sjis_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP.sjis' && return 0
  [ -f /usr/share/i18n/locales/ja_JP ] || return 0
  local root=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || { echo "setup.sh: as root: localedef -i ja_JP -f SHIFT_JIS ja_JP.SJIS" >&2; return 0; }
    root=(sudo)
  fi
  "${root[@]}" localedef -i ja_JP -f SHIFT_JIS --no-warnings=ascii ja_JP.SJIS ||
    echo "setup: could not create the ja_JP.SJIS locale" >&2
}
trap make_sjis_locale EXIT

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
