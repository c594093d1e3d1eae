#!/usr/bin/env bash
# Refreshes every screenshot of docs/screenshots/, in Japanese (ja/) and English (en/),
# one X server at a time.
# Usage: tools/screenshots.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
for lang in ja en; do
  for script in screenshot screenshot_browser screenshot_options screenshot_archive \
    screenshot_pictures screenshot_alpha; do
    RAVINEL_LANG=$lang "tools/$script.sh" "$@"
  done
done
