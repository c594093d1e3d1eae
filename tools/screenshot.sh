#!/usr/bin/env bash
# Refreshes docs/screenshots/LANG/viewer.png: the viewer showing a generated photo-like picture
# with its popup menu open, on its own 1280 x 800 X server with a window manager.
# Usage: [RAVINEL_LANG=en] tools/screenshot.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/screenshot_desktop.sh
desktop_start :97 1280x800
"$build/bin/ravinel-sample" "$dir/sample.jpg" 1600 1200
desktop_run "$build/bin/ravinel" "$dir/sample.jpg"
# The menu is a window of its own that a capture of the root leaves out: laid on top. A
# slow (sanitized) build takes longer to show the window and the menu: tried for a while.
menu=
for _ in $(seq 1 20); do
  sleep 2
  xdotool mousemove 420 160 click 3
  sleep 1
  windows=$(xwininfo -root -tree)
  menu=$(awk '/"Ravinel": \("ravinel"/ && /\+420\+160/ {print $1}' <<<"$windows" | head -1)
  [ -n "$menu" ] && break
  xdotool key Escape
done
xwd -root -silent | convert xwd:- "$dir/root.png"
xwd -id "$menu" -silent | convert xwd:- "$dir/menu.png"
convert "$dir/root.png" "$dir/menu.png" -geometry +420+160 -composite "$shots/viewer.png"
echo "wrote $shots/viewer.png"
desktop_stop
