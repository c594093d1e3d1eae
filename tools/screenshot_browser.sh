#!/usr/bin/env bash
# Refreshes docs/screenshots/browser.png: the browser window on a folder of generated
# photo-like pictures, thumbnails made, on its own 1280 x 800 X server (no window manager,
# so the window has no frame). The folder lies in a scratch home's documents folder, so
# the tree shows a small, private desktop.
# Usage: tools/screenshot_browser.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
for p in x11-apps imagemagick xvfb fonts-ipafont-gothic; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    apt-get install -y --no-install-recommends "$p" >/dev/null
  fi
done
dir=$(mktemp -d)
xvfb=
viewer=
trap '[ -n "$viewer" ] && kill "$viewer" 2>/dev/null; [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$dir"' EXIT
home="$dir/home"
photos="$home/Documents/Photos"
mkdir -p "$home/Desktop" "$home/Documents/Notes" "$photos/2024" "$photos/2025"
sizes=(640x480 480x640 800x450 600x600 720x480 480x720 900x400 640x427 427x640 800x600
       500x500 960x540)
for i in $(seq 1 24); do
  size=${sizes[$(( (i - 1) % ${#sizes[@]} ))]}
  "$build/bin/ravinel-sample" "$photos/$(printf 'IMG_%04d.jpg' "$i")" "${size%x*}" "${size#*x}"
done
printf 'Trip notes\n' >"$photos/notes.txt"
cat >"$dir/ravinel.ini" <<INI
[ThumbForm]
Left=0
Top=0
Right=1280
Bottom=800
TreeWidth=220
INI
Xvfb :98 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
mkdir -m 700 "$dir/runtime"
DISPLAY=:98 HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$dir/runtime" \
  RAVINEL_INI="$dir/ravinel.ini" "$build/bin/ravinel" "$photos/" &
viewer=$!
sleep 8
mkdir -p docs/screenshots
DISPLAY=:98 xwd -root -silent | convert xwd:- docs/screenshots/browser.png
echo "wrote docs/screenshots/browser.png"
