#!/usr/bin/env bash
# Refreshes docs/screenshots/options.png: the options window on its first page, opened
# from the browser's menu (right click, "その他", "オプション"), on its own 1280 x 800 X
# server with a window manager.
# Usage: tools/screenshot_options.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
for p in x11-utils imagemagick xvfb xdotool openbox fonts-ipafont-gothic; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    apt-get install -y --no-install-recommends "$p" >/dev/null
  fi
done
dir=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$dir"' EXIT
home="$dir/home"
photos="$home/Pictures"
mkdir -p "$photos"
for i in 1 2 3 4; do
  "$build/bin/ravinel-sample" "$photos/IMG_000$i.jpg" 640 480
done
cat >"$dir/ravinel.ini" <<INI
[ThumbForm]
Left=0
Top=0
Right=1000
Bottom=700
[OptionForm]
SelectPage=0
INI
export DISPLAY=:171 HOME="$home" XDG_CONFIG_HOME="$home/.config" \
  XDG_RUNTIME_DIR="$dir/runtime" RAVINEL_INI="$dir/ravinel.ini"
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$build/bin/ravinel" "$photos/" &
pids+=($!)
sleep 8
# The browser's one menu opens from the status bar's first panel.
xdotool mousemove 38 684 click 1
sleep 1
xdotool key x
sleep 1
xdotool key o
sleep 4
window=$(xdotool search --name "オプション設定" | head -1)
# The window's own contents: under Xvfb the frame's capture of a modal window comes out black.
mkdir -p docs/screenshots
xwd -id "$window" -silent | convert xwd:- docs/screenshots/options.png
echo "wrote docs/screenshots/options.png"
