#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are
# missing, so that a second run costs nothing. Works as root, or through sudo.
set -euo pipefail

packages=(
  g++
  cmake
  ninja-build
  pkg-config
  clang-format
  libjpeg62-turbo-dev
  liblcms2-dev
  libicu-dev
  libgtest-dev
  libpng-dev
  zlib1g-dev
  libmd-dev
  libgif-dev
  libtiff-dev
  libwebp-dev
  libavif-dev
  libheif-dev
  libjxl-dev
  libraw-dev
  libavif-bin
  libheif-examples
  libjxl-tools
  libarchive-dev
  gcab
  qt6-base-dev
  qt6-tools-dev
  qt6-l10n-tools
  libqt6svg6
  xvfb
  libxcb1-dev
  xauth
  x11-utils
  fonts-ipafont-gothic
  dpkg-dev
  desktop-file-utils
  appstream
  shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) and neither root nor sudo" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
