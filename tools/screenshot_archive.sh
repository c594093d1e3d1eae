#!/usr/bin/env bash
# Refreshes docs/screenshots/archive.png: the archive member window on a ZIP of generated
# photo-like pictures in two folders, on its own 800 x 520 X server with a window manager
# (so the caption shows the archive's name).
# Usage: tools/screenshot_archive.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
for p in x11-apps imagemagick xvfb openbox zip fonts-ipafont-gothic; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    apt-get install -y --no-install-recommends "$p" >/dev/null
  fi
done
dir=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$dir"' EXIT
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
export DISPLAY=:96 XDG_RUNTIME_DIR="$dir/runtime" RAVINEL_INI="$dir/ravinel.ini"
export ASAN_OPTIONS=detect_leaks=0
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb "$DISPLAY" -screen 0 800x520x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
"$build/bin/ravinel" "$dir/trip.zip" &
pids+=($!)
sleep 4
mkdir -p docs/screenshots
xwd -root -silent | convert xwd:- docs/screenshots/archive.png
echo "wrote docs/screenshots/archive.png"
kill "${pids[2]}"
wait "${pids[2]}" || true
