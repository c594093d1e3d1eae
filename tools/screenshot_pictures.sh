#!/usr/bin/env bash
# Refreshes the screenshots of today's pictures, each on its own 1280 x 800 X server with a
# window manager:
#   orientation.png   a phone photo stored sideways with EXIF orientation 6, shown upright;
#   failure.png       the message box of a picture that does not open;
#   profile.png       a photo with a wide-gamut (ProPhoto) profile, converted (left) and
#                     shown with its stored colours (right, the option off).
# Usage: [RAVINEL_LANG=en] tools/screenshot_pictures.sh [BUILD_DIR]   (default build/, made by ./ravinel.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/screenshot_desktop.sh

# A photo-like picture with a caption that shows which way is up.
upright_photo() {
  "$build/bin/ravinel-sample" "$1" 600 800
  convert "$1" -gravity north -fill white -stroke black -strokewidth 2 -pointsize 72 \
    -font DejaVu-Sans-Bold -annotate +0+40 'UP ↑' "$1"
}

shot_orientation() {
  desktop_start :173 1280x800
  mkdir "$dir/made" "$dir/photos"
  upright_photo "$dir/made/upright.jpg"
  # Stored a quarter turn anticlockwise, as a phone held upright writes it, with an EXIF
  # block whose orientation 6 turns it back, after the JFIF header.
  convert "$dir/made/upright.jpg" -rotate -90 "$dir/made/sideways.jpg"
  {
    head -c 20 "$dir/made/sideways.jpg"
    printf '\xff\xe1\x00\x22Exif\x00\x00II\x2a\x00\x08\x00\x00\x00\x01\x00'
    printf '\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00'
    tail -c +21 "$dir/made/sideways.jpg"
  } >"$dir/photos/phone.jpg"
  desktop_run "$build/bin/ravinel" "$dir/photos/phone.jpg"
  sleep 4
  xwd -root -silent | convert xwd:- "$shots/orientation.png"
  echo "wrote $shots/orientation.png"
  desktop_stop
}

shot_failure() {
  desktop_start :174 1280x800
  # A camera's 6000 x 4000 photo, over the default largest side.
  "$build/bin/ravinel-sample" "$dir/camera.jpg" 6000 4000
  desktop_run "$build/bin/ravinel" "$dir/camera.jpg"
  sleep 4
  # The box alone, cut out of the empty desktop around it.
  xwd -root -silent | convert xwd:- -trim +repage "$shots/failure.png"
  echo "wrote $shots/failure.png"
  # Past the box, the browser opens on the folder; the stop ends it.
  xdotool key Return
  sleep 2
  desktop_stop
}

# The window's picture on one desktop, with the colour profile option on or off.
shot_profile_side() {
  desktop_start :175 1024x640
  printf '[GLoader]\nUseColorProfile=%s\n' "$1" >"$RAVINEL_INI"
  mkdir "$dir/photos"
  "$build/bin/ravinel-sample" "$dir/photos/prophoto.jpg" 480 360 prophoto
  desktop_run "$build/bin/ravinel" "$dir/photos/prophoto.jpg"
  sleep 4
  xwd -root -silent | convert xwd:- -trim +repage "$2"
  desktop_stop
}

shot_profile() {
  local sides
  sides=$(mktemp -d)
  (shot_profile_side 1 "$sides/converted.png")
  (shot_profile_side 0 "$sides/stored.png")
  convert "$sides/converted.png" "$sides/stored.png" -background black -splice 16x0 +append \
    "$shots/profile.png"
  rm -rf "$sides"
  echo "wrote $shots/profile.png"
}

(shot_orientation)
(shot_failure)
(shot_profile)
