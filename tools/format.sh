#!/usr/bin/env bash
# Applies .clang-format to every C++ source of the project; with --check, only reports
# the files that differ and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(-i)
[ "${1:-}" = "--check" ] && mode=(--dry-run -Werror)
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs -r clang-format "${mode[@]}"
