#!/usr/bin/env bash
# Refreshes docs/screenshots/LANG/archive.png: the archive member window on a ZIP of generated
# photo-like pictures in two folders, on its own 800 x 520 X server with a window manager
# (so the caption shows the archive's name).
# Usage: [RAVINEL_LANG=en] tools/screenshot_archive.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/screenshot_desktop.sh
desktop_start :96 800x520 zip
mkdir -p "$dir/trip/day 1" "$dir/trip/day 2"
sizes=(640x480 480x640 800x450 600x600 720x480 480x720)
for i in $(seq 1 12); do
  size=${sizes[$(( (i - 1) % ${#sizes[@]} ))]}
  day=$(( (i - 1) / 6 + 1 ))
  "$build/bin/ravinel-sample" "$dir/trip/day $day/$(printf 'IMG_%04d.jpg' "$i")" \
    "${size%x*}" "${size#*x}"
done
printf 'Trip notes\n' >"$dir/trip/notes.txt"
(cd "$dir" && zip -qr trip.zip trip)
desktop_run "$build/bin/ravinel" "$dir/trip.zip"
sleep 4
xwd -root -silent | convert xwd:- "$shots/archive.png"
echo "wrote $shots/archive.png"
desktop_stop
