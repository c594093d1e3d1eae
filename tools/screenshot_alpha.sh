#!/usr/bin/env bash
# Refreshes docs/screenshots/LANG/alpha.png: a logo of white strokes on a transparent
# background, shown over the checkerboard, on its own 1024 x 640 X server.
# Usage: [RAVINEL_LANG=en] tools/screenshot_alpha.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/screenshot_desktop.sh
desktop_start :93 1024x640
convert -size 480x240 xc:none -fill none -stroke white -strokewidth 10 \
  -draw "circle 120,120 120,40" -draw "line 240,40 440,200" -draw "line 240,200 440,40" \
  -stroke black -strokewidth 4 -draw "rectangle 20,20 460,220" "$dir/logo.png"
desktop_run "$build/bin/ravinel" "$dir/logo.png"
sleep 4
xwd -root -silent | convert xwd:- "$shots/alpha.png"
echo "wrote $shots/alpha.png"
desktop_stop
