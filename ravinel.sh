#!/usr/bin/env bash
# Installs what is missing, builds a Release build into build/ and runs Ravinel on PATH.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
if [ $# -eq 0 ]; then
  exec build/bin/ravinel-tool --help
fi
exec build/bin/ravinel-tool info "$1"
