#!/usr/bin/env bash
# Installs what is missing, builds a Release build of the program into build/ (the tests
# are ./test.sh's) and runs Ravinel on PATH
# (a picture opens in its own window; a second start hands its path to the first).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build
cd - >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "ravinel: no display (DISPLAY and WAYLAND_DISPLAY are unset); run it in a desktop session" >&2
  exit 1
fi
exec "$(dirname "$0")/build/bin/ravinel" "$@"
