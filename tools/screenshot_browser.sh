#!/usr/bin/env bash
# Refreshes docs/screenshots/LANG/browser.png: the browser window on a folder of generated
# photo-like pictures, thumbnails made, on its own 1280 x 800 X server with a window
# manager. The folder lies in a scratch home's documents folder, so
# the tree shows a small, private desktop.
# Usage: [RAVINEL_LANG=en] tools/screenshot_browser.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/screenshot_desktop.sh
desktop_start :98 1280x800
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
export HOME="$home" XDG_CONFIG_HOME="$home/.config"
desktop_run "$build/bin/ravinel" "$photos/"
sleep 8
xwd -root -silent | convert xwd:- "$shots/browser.png"
echo "wrote $shots/browser.png"
desktop_stop
