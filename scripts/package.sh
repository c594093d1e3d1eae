#!/usr/bin/env bash
# Makes the Debian package from the Release build of ./ravinel.sh (build/): installs what
# is missing, builds, and writes build/ravinel_VERSION_ARCH.deb, whose dependencies
# dpkg-shlibdeps computes. Install it with: apt install ./build/ravinel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build
(cd build && cpack -B . >/dev/null)
ls build/ravinel_*.deb
