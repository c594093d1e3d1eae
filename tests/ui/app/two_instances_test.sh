#!/usr/bin/env bash
# Two real processes on their own X server: the second hands its picture over to the
# first, which shows it in a new window, also when it has no display; a start without a
# path changes nothing; the settings are written when the first ends.
set -u
program=$1
dir=$(mktemp -d)
xvfb=
first=
cleanup() {
    [ -n "$first" ] && kill "$first" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    echo "windows:"
    xwininfo -root -tree 2>/dev/null | grep '"' | head -20
    exit 1
}

mkdir -m 700 "$dir/runtime"
mkdir "$dir/a" "$dir/b" "$dir/c"
export XDG_RUNTIME_DIR="$dir/runtime" RAVINEL_INI="$dir/ravinel.ini"
unset SUSIE_PLUGIN_DIR

# A 2 x 1 24-bit BMP: black, white.
bmp() {
    printf 'BM\x3e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00'
    printf '\x28\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00\x01\x00\x18\x00'
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xff\xff\x00\x00'
}
bmp >"$dir/a/one.bmp"
bmp >"$dir/b/two.bmp"
bmp >"$dir/c/three.bmp"

for n in $(seq 91 150); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=":$n"
        break
    fi
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 100); do
    xwininfo -root >/dev/null 2>&1 && break
    sleep 0.1
done

window_shown() {  # window_shown TITLE-START
    for _ in $(seq 150); do
        xwininfo -root -tree 2>/dev/null | grep -qF "\"$1" && return 0
        sleep 0.2
    done
    return 1
}

"$program" "$dir/a/one.bmp" &
first=$!
window_shown "one.bmp [1/1] " || fail "the first instance shows no window for one.bmp"

# A relative path, as a user types it: the running instance has another current folder.
(cd "$dir/b" && timeout 20 "$program" two.bmp) || fail "the second instance did not end by itself"
window_shown "two.bmp [1/1] " || fail "the running instance did not open the handed-over picture"
kill -0 "$first" 2>/dev/null || fail "the first instance has ended"

# A second start needs no display: it hands its path over before the toolkit starts.
(cd "$dir/c" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" three.bmp) ||
    fail "a second start without a display did not hand over and end cleanly"
window_shown "three.bmp [1/1] " || fail "the running instance did not open the picture handed over without a display"

timeout 20 "$program" || fail "a second start without a path did not end by itself"
count=$(xwininfo -root -tree | grep -cF '.bmp [1/1] ')
[ "$count" = 3 ] || fail "expected three picture windows, found $count"

kill -TERM "$first"
wait "$first" || fail "the first instance did not end cleanly"
first=
grep -qxF "LastDir=$dir/c/" "$RAVINEL_INI" || fail "the settings do not hold the last folder: $(cat "$RAVINEL_INI" 2>/dev/null)"
echo "two instances: ok"
