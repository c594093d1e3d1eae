#!/usr/bin/env bash
# Refreshes docs/screenshots/viewer.png: the viewer showing a generated photo-like picture
# on its own 1280 x 800 X server (no window manager, so the window has no frame).
# Usage: tools/screenshot.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for p in x11-apps imagemagick xvfb; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    apt-get install -y --no-install-recommends "$p" >/dev/null
  fi
done
dir=$(mktemp -d)
xvfb=
viewer=
trap '[ -n "$viewer" ] && kill "$viewer" 2>/dev/null; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$dir"' EXIT
"$build/bin/ravinel-sample" "$dir/sample.jpg" 1600 1200
Xvfb :97 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
mkdir -m 700 "$dir/runtime"
DISPLAY=:97 XDG_RUNTIME_DIR="$dir/runtime" RAVINEL_INI="$dir/ravinel.ini" \
  "$build/bin/ravinel" "$dir/sample.jpg" &
viewer=$!
sleep 3
DISPLAY=:97 xwd -root -silent | convert xwd:- docs/screenshots/viewer.png
echo "wrote docs/screenshots/viewer.png"
