#!/usr/bin/env bash
# Refreshes docs/screenshots/viewer.png: the viewer showing a generated photo-like picture
# with its popup menu open, on its own 1280 x 800 X server with a window manager.
# Usage: tools/screenshot.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
[ -n "${TRACE:-}" ] && set -x
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
for p in x11-apps x11-utils imagemagick xvfb xdotool openbox; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    apt-get install -y --no-install-recommends "$p" >/dev/null
  fi
done
dir=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$dir"' EXIT
"$build/bin/ravinel-sample" "$dir/sample.jpg" 1600 1200
export DISPLAY=:97 XDG_RUNTIME_DIR="$dir/runtime" RAVINEL_INI="$dir/ravinel.ini"
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$build/bin/ravinel" "$dir/sample.jpg" &
pids+=($!)
sleep 3
xdotool mousemove 420 160 click 3
sleep 2
# The menu is a window of its own that a capture of the root leaves out: laid on top.
windows=$(xwininfo -root -tree)
menu=$(awk '/"Ravinel": \("ravinel"/ && /\+420\+160/ {print $1}' <<<"$windows" | head -1)
xwd -root -silent | convert xwd:- "$dir/root.png"
xwd -id "$menu" -silent | convert xwd:- "$dir/menu.png"
convert "$dir/root.png" "$dir/menu.png" -geometry +420+160 -composite docs/screenshots/viewer.png
echo "wrote docs/screenshots/viewer.png"
kill "${pids[2]}"
wait "${pids[2]}" || true
