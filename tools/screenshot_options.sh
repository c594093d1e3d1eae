#!/usr/bin/env bash
# Refreshes docs/screenshots/LANG/options-1.png to options-6.png: the options window on
# each of its pages, opened from the browser's menu ("その他", "オプション") at the size it
# opens at, on its own 1280 x 800 X server with a window manager.
# Usage: [RAVINEL_LANG=en] tools/screenshot_options.sh [BUILD_DIR]   (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/screenshot_desktop.sh
desktop_start :171 1280x800
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
export HOME="$home" XDG_CONFIG_HOME="$home/.config"
desktop_run "$build/bin/ravinel" "$photos/"
sleep 8
# The browser's one menu opens from the status bar's first panel; the keys of "その他" /
# "Other" and "オプション" / "Options..." differ by language, as does the window's title.
if [ "$RAVINEL_LANG" = en ]; then
  keys=(o o) title=Options
else
  keys=(x o) title=オプション設定
fi
xdotool mousemove 38 684 click 1
sleep 1
xdotool key "${keys[0]}"
sleep 1
xdotool key "${keys[1]}"
sleep 4
window=$(xdotool search --name "^$title\$" | head -1)
# The first tab takes the keys; the right arrow key goes to the next page.
xdotool mousemove --window "$window" 30 16 click 1
sleep 1
for page in 1 2 3 4 5 6; do
  # The window's own contents: under Xvfb the frame's capture of a modal window comes out
  # black.
  xwd -id "$window" -silent | convert xwd:- "$shots/options-$page.png"
  echo "wrote $shots/options-$page.png"
  xdotool key Right
  sleep 1
done
# Closed first: the stop's signal ends the run only once no modal window holds it.
xdotool key Escape
sleep 2
desktop_stop
