#!/usr/bin/env bash
# End-to-end checks of ravinel-tool: output format, exit statuses, and a resize whose
# pixels are known.
set -u
tool=$1
test_plugin=$2  # a picture plug-in of the image tests (see tests/image/spi_fixtures)
archiver_dir=$3  # stand-in archiver modules (see tests/image/archiver_fixtures)
write_dng=$4  # writes the plug-in tests' DNG (tests/plugins/write_test_dng.cpp)
sample=$5  # ravinel-sample, which writes photo-like JPEGs
# Plug-ins come only from where a check puts them.
unset SUSIE_PLUGIN_DIR
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}

# A 2 x 1 24-bit BMP: black, white.
printf 'BM\x3e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00' >"$dir/in.bmp"
printf '\x28\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00\x01\x00\x18\x00' >>"$dir/in.bmp"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >>"$dir/in.bmp"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\xff\xff\x00\x00' >>"$dir/in.bmp"

out=$("$tool" info "$dir/in.bmp" --analyze --bmp-first); status=$?
check "info line" "kind=8 width=2 height=1 pixelformat=6 label=24" "$out"
check "info status" 0 "$status"

# An extension no decoder claims, not analysed: only the plug-ins' picture container is
# asked and it has nothing for it, so nothing loads and the pixel format is the untouched
# target's; the reason names the format the content shows.
cp "$dir/in.bmp" "$dir/in.xyz"
out=$("$tool" info "$dir/in.xyz"); status=$?
check "info by unknown extension" \
    "kind=0 width=0 height=0 pixelformat=3 label=8 reason=content does not match the extension: BMP" \
    "$out"
printf 'no picture at all' >"$dir/notes.txt"
check "info of a text" \
    "kind=0 width=0 height=0 pixelformat=3 label=8 reason=no plug-in took it: Unknown picture file extension (.TXT)" \
    "$("$tool" info "$dir/notes.txt")"
check "info failure status" 1 "$status"
# Named .png: the PNG plug-in refuses it and the plug-in bitmap falls back to the plain
# bitmap reader; by content, the plug-ins come first unless BMP-first is set.
cp "$dir/in.bmp" "$dir/in.png"
check "info by extension" "kind=2 width=2 height=1 pixelformat=6 label=24" \
      "$("$tool" info "$dir/in.png")"
check "info by content" "kind=2 width=2 height=1 pixelformat=6 label=24" \
      "$("$tool" info "$dir/in.png" --analyze)"
check "info by content, BMP first" "kind=8 width=2 height=1 pixelformat=6 label=24" \
      "$("$tool" info "$dir/in.png" --analyze --bmp-first)"

# A moving picture says how many frames it has: a GIF of two 1 x 1 frames, black then white.
{ printf 'GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff'
  printf '\x21\xf9\x04\x00\x0a\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00'
  printf '\x02\x02\x44\x01\x00'
  printf '\x21\xf9\x04\x00\x0a\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00'
  printf '\x02\x02\x4c\x01\x00\x3b'
} >"$dir/moving.gif"
check "info of a moving picture" "kind=2 width=1 height=1 pixelformat=3 label=8 frames=2" \
      "$("$tool" info "$dir/moving.gif")"
head -c 42 "$dir/moving.gif" >"$dir/still.gif"
printf '\x3b' >>"$dir/still.gif"
check "info of a still GIF" "kind=2 width=1 height=1 pixelformat=3 label=8" \
      "$("$tool" info "$dir/still.gif")"

# --max-side: a 1-bit BMP 5000 pixels wide is over the default largest side of 4096; every
# loading command takes the option and refuses values out of 1024..32767.
{ printf 'BM\xb2\x02\x00\x00\x00\x00\x00\x00\x3e\x00\x00\x00\x28\x00\x00\x00'
  printf '\x88\x13\x00\x00\x01\x00\x00\x00\x01\x00\x01\x00\x00\x00\x00\x00'
  printf '\x60\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\xff\xff\xff\x00'
  head -c 628 /dev/zero; } >"$dir/wide.bmp"
check "wide refused by default" \
    "kind=0 width=5000 height=1 pixelformat=3 label=8 reason=side over the limit: Picture is too large (5000 x 1)" \
    "$("$tool" info "$dir/wide.bmp" --analyze --bmp-first)"
check "wide loads with --max-side" "kind=8 width=5000 height=1 pixelformat=1 label=1" \
      "$("$tool" info "$dir/wide.bmp" --analyze --bmp-first --max-side 8192)"
"$tool" resize "$dir/wide.bmp" "$dir/w.bmp" --width 50 --height 1 2>/dev/null
check "resize refuses wide" 2 "$?"
for args in "info wide.bmp" "resize wide.bmp w.bmp --width 50 --height 1" \
            "process wide.bmp w.bmp --width 50 --height 1" "thumb wide.bmp w.bmp"; do
    # shellcheck disable=SC2086
    (cd "$dir" && "$tool" $args --max-side 5000 >/dev/null 2>&1)
    check "--max-side 5000: $args" 0 "$?"
    # shellcheck disable=SC2086
    (cd "$dir" && "$tool" $args --max-side 1023 >/dev/null 2>&1)
    check "--max-side 1023: $args" 2 "$?"
done
# --no-color-profile: a JPEG with a wide-gamut profile is resized converted by default and
# as stored with the option; one without a profile is the same either way.
"$sample" "$dir/wide-gamut.jpg" 64 48 prophoto && "$sample" "$dir/plain.jpg" 64 48
for name in wide-gamut plain; do
    for colors in "" --no-color-profile; do
        # shellcheck disable=SC2086
        "$tool" resize "$dir/$name.jpg" "$dir/$name$colors.bmp" --width 32 --height 24 $colors
    done
done
cmp -s "$dir/wide-gamut.bmp" "$dir/wide-gamut--no-color-profile.bmp"
check "a wide-gamut profile is converted" 1 "$?"
cmp -s "$dir/wide-gamut--no-color-profile.bmp" "$dir/plain.bmp"
check "--no-color-profile keeps the stored colours" 0 "$?"
cmp -s "$dir/plain.bmp" "$dir/plain--no-color-profile.bmp"
check "no profile, nothing to convert" 0 "$?"

mkdir "$dir/wide" && cp "$dir/wide.bmp" "$dir/wide/"
check "thumbs with --max-side" "thumbnails made: 1" \
      "$("$tool" thumbs "$dir/wide" "$dir/wide-out" --max-side 32767 | grep made)"
check "thumbs by default" "thumbnails made: 0" \
      "$("$tool" thumbs "$dir/wide" "$dir/wide-out2" | grep made)"

"$tool" resize "$dir/in.bmp" "$dir/out.bmp" --width 3 --height 1; status=$?
check "resize status" 0 "$status"
pixels=$(od -An -tx1 -j54 -N9 "$dir/out.bmp" | tr -d ' \n')
check "area enlargement 0,255 -> 0,128,255" "000000808080ffffff" "$pixels"

"$tool" resize "$dir/in.bmp" "$dir/bad.bmp" --width 1 --height 2 2>/dev/null; status=$?
check "mixed reduce and enlarge is refused" 2 "$status"
"$tool" resize "$dir/missing.bmp" "$dir/bad.bmp" --width 1 --height 1 2>/dev/null; status=$?
check "missing input" 2 "$status"
"$tool" resize "$dir/in.bmp" "$dir/bad.bmp" --width 0 --height 1 2>/dev/null; status=$?
check "bad width" 2 "$status"
# process: at the source's height nothing is resized, whatever the width.
"$tool" process "$dir/in.bmp" "$dir/same.bmp" --width 3 --height 1; status=$?
check "process status" 0 "$status"
check "process at 1:1 keeps the picture" "000000ffffff" "$(od -An -tx1 -j54 -N6 "$dir/same.bmp" | tr -d ' \n')"
check "process at 1:1 keeps the width" "02000000" "$(od -An -tx1 -j18 -N4 "$dir/same.bmp" | tr -d ' \n')"

texts=$("$tool" process "$dir/in.bmp" "$dir/big.bmp" --width 3 --height 2 --flt-expand 0010 \
        --verbose 2>&1 >/dev/null | tr '\n' '|')
check "process stage texts" "リサイズ中|輝度ノーマライズ処理中|カラー深度変更中|" "$texts"
"$tool" process "$dir/in.bmp" "$dir/big.bmp" --width 3 --height 2
check "process enlarges by area" "000000808080ffffff000000000000808080ffffff000000" \
      "$(od -An -tx1 -j54 -N24 "$dir/big.bmp" | tr -d ' \n')"
"$tool" process "$dir/in.bmp" "$dir/ht.bmp" --width 2 --height 1 --color 1
check "halftone result is an 8-bit BMP" "0800" "$(od -An -tx1 -j28 -N2 "$dir/ht.bmp" | tr -d ' \n')"
"$tool" process "$dir/in.bmp" "$dir/bad.bmp" --width 2 --height 1 --color 256 2>/dev/null
check "colour mode out of range" 2 "$?"

# settings: a start and an end of the viewer normalise a hand-edited file.
printf '[viewconf]\r\nREDUCTMODE=257\r\n[Junk]\r\nx=1\r\n' >"$dir/r.ini"
check "settings prints the path" "$dir/r.ini" "$("$tool" settings --ini "$dir/r.ini")"
check "settings keep the low byte" "ReductMode=1" "$(grep '^ReductMode=' "$dir/r.ini")"
check "settings drop unknown sections" 0 "$(grep -c Junk "$dir/r.ini")"
check "settings from RAVINEL_INI" "$dir/e.ini" "$(RAVINEL_INI="$dir/e.ini" "$tool" settings)"
check "settings default file" "[ThumbForm]" "$(head -1 "$dir/e.ini")"
# Only regular files are read: a FIFO nobody writes, named as a picture, an archive or
# the settings, and a link to a device, fail at once on every path (a hang is ended by
# timeout, status 124); a save leaves the FIFO in place.
mkfifo "$dir/fifo.jpg" "$dir/fifo.png" "$dir/fifo.dib" "$dir/fifo.zip" "$dir/fifo.ini"
ln -s /dev/zero "$dir/zero.bmp"
for args in "info fifo.jpg" "info fifo.jpg --analyze" "info fifo.png" "info fifo.dib" \
            "info zero.bmp" "info zero.bmp --analyze" "thumb fifo.jpg $dir/none.bmp" \
            "archive list fifo.zip" "archive info fifo.zip a.bmp"; do
    # shellcheck disable=SC2086  # the words of a case
    (cd "$dir" && timeout 20 "$tool" $args >/dev/null 2>&1)
    status=$?
    [ "$status" -ne 0 ] && [ "$status" -ne 124 ]
    check "refused at once: $args" 0 "$?"
done
(cd "$dir" && timeout 20 "$tool" settings --ini fifo.ini >/dev/null 2>&1)
check "settings save over a FIFO fails" 2 "$?"
check "the FIFO stays" "fifo" "$(stat -c %F "$dir/fifo.ini" | cut -d' ' -f1)"

# A .dib file is read by the strict reader of the DIB class: a pixel offset of 0, which the
# tolerant BMP reader takes, is refused there; the same bytes named .bmp load.
{ head -c 10 "$dir/in.bmp"; printf '\x00\x00\x00\x00'; tail -c +15 "$dir/in.bmp"; } >"$dir/off0.bmp"
cp "$dir/off0.bmp" "$dir/off0.dib"
cp "$dir/in.bmp" "$dir/in.dib"
check "a tolerated BMP loads" 0 "$("$tool" info "$dir/off0.bmp" >/dev/null; echo $?)"
for args in "info off0.dib" "info off0.dib --analyze" "info off0.dib --analyze --bmp-first" \
            "thumb off0.dib $dir/none.bmp"; do
    # shellcheck disable=SC2086
    (cd "$dir" && "$tool" $args >/dev/null 2>&1)
    check "strict .dib: $args" 1 "$?"
done
check "a sound .dib loads by name" "kind=2 width=2 height=1 pixelformat=6 label=24" \
      "$("$tool" info "$dir/in.dib")"
check "a sound .dib loads by content" "kind=8 width=2 height=1 pixelformat=6 label=24" \
      "$("$tool" info "$dir/in.dib" --analyze --bmp-first)"

# list: names in natural order, size and local time; an ill-formed name is shown with
# U+FFFD.
mkdir "$dir/list" "$dir/list/sub"
printf 'abc' >"$dir/list/img10.jpg"
: >"$dir/list/img9.jpg"
: >"$dir/list/$(printf 'bad\xff')"
touch -d '2005-03-07 08:05:09' "$dir/list/img10.jpg"
out=$(LC_ALL= LC_TIME= LANG= "$tool" list "$dir/list" --sort 2 | cut -f1,2 | tr '\t\n' ',|')
check "list natural order" "bad$(printf '\xef\xbf\xbd'),0|img9.jpg,0|img10.jpg,3|" "$out"
out=$(LC_ALL= LC_TIME= LANG= "$tool" list "$dir/list/" --sort 5 | head -1 | cut -f1,3)
check "list size order and time text" "$(printf 'img10.jpg\t2005/03/07 08:05:08')" "$out"
# Control characters cannot break the line or reach the terminal: escaped as ls -b does.
mkdir "$dir/odd"
: >"$dir/odd/$(printf 'a\nb\tc\\d\033e')"
check "list escapes control characters" 'a\nb\tc\\d\033e' "$("$tool" list "$dir/odd" | cut -f1)"
check "version" "ravinel-tool " "$("$tool" --version | cut -c1-13)"
"$tool" list "$dir/missing" 2>/dev/null
check "list of a missing folder" 2 "$?"
"$tool" list "$dir/list" --sort 256 2>/dev/null
check "list sort mode out of range" 2 "$?"
# thumb: the 2 x 1 picture fills a 4-pixel square on its longer side; screen depth 8 gives
# an 8-bit halftone thumbnail; a text file is no picture.
out=$("$tool" thumb "$dir/in.bmp" "$dir/thumb.bmp" --image-size 4); status=$?
check "thumb description" "2x1 24bit BMP" "$out"
check "thumb status" 0 "$status"
check "thumb size 4 x 2" "0400000002000000" "$(od -An -tx1 -j18 -N8 "$dir/thumb.bmp" | tr -d ' \n')"
"$tool" thumb "$dir/in.bmp" "$dir/thumb8.bmp" --screen-bits 8 --low >/dev/null
check "thumb at 8 bits" "0800" "$(od -An -tx1 -j28 -N2 "$dir/thumb8.bmp" | tr -d ' \n')"
mkdir "$dir/files"
cp "$dir/in.bmp" "$dir/files/a.bmp"
cp "$dir/in.bmp" "$dir/files/b.bmp"
echo "some text" >"$dir/files/notes.txt"
out=$("$tool" thumb "$dir/files/notes.txt" "$dir/none.bmp"); status=$?
check "thumb of a text file" "TXTファイル" "$out"
check "thumb of a text file fails" 1 "$status"
out=$("$tool" thumbs "$dir/files" "$dir/out" --image-size 8 | head -2 | tr '\n' '|')
check "thumbs counts" "files examined: 3|thumbnails made: 2|" "$out"
check "thumbs files" "a.bmp.bmp b.bmp.bmp" "$(cd "$dir/out" && echo *)"
# --freedesktop: entries in the shared cache, named after the MD5 of the file's URI, a
# fail entry for the text file; a later thumb takes the entry for the picture.
out=$(XDG_CACHE_HOME="$dir/cache" "$tool" thumbs "$dir/files" --freedesktop | head -2 | tr '\n' '|')
check "thumbs --freedesktop counts" "files examined: 3|thumbnails made: 2|" "$out"
entry="$dir/cache/thumbnails/normal/$(printf 'file://%s' "$dir/files/a.bmp" | md5sum | cut -c1-32).png"
check "thumbs --freedesktop entry mode" 600 "$(stat -c %a "$entry" 2>&1)"
check "thumbs --freedesktop fail entry" 1 "$(find "$dir/cache/thumbnails/fail" -name '*.png' | wc -l)"
out=$(XDG_CACHE_HOME="$dir/cache" "$tool" thumb "$dir/files/a.bmp" --freedesktop)
check "thumb --freedesktop from the entry" "2x1 24bit BMP" "$out"

# plugins: a plug-in in $SUSIE_PLUGIN_DIR is listed and decodes through info; a file
# that is no plug-in is reported and passed over.
mkdir "$dir/plugins"
cp "$test_plugin" "$dir/plugins/rvtest.spi"
printf 'junk' >"$dir/plugins/broken.spi"
out=$(SUSIE_PLUGIN_DIR="$dir/plugins" "$tool" plugins 2>"$dir/plugins.err")
# The Susie folder comes first, then the program folder with the bundled plug-ins.
check "plugins list" "$(printf '%s\t00IN\t*.rvt;*.rva;*.rvb;*.rvc\tRavinel test plug-in' \
      "$(realpath "$dir/plugins/rvtest.spi")")" "$(echo "$out" | head -1)"
check "bundled plug-ins listed" \
      "ifavif.spi ifgif.spi ifheif.spi ifjxl.spi ifpng.spi ifraw.spi iftiff.spi ifwebp.spi" \
      "$(echo "$out" | tail -n +2 | cut -f1 | xargs -n1 basename | tr '\n' ' ' | sed 's/ $//')"
check "broken plug-in reported" 1 \
      "$(grep -c 'broken.spi:Susie Pluginがロードできませんでした' "$dir/plugins.err")"
# The bundled GIF plug-in, found in the program folder: a 1 x 1 white GIF.
printf 'GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00' >"$dir/pic.gif"
printf ',\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;' >>"$dir/pic.gif"
check "info through a bundled plug-in" "kind=2 width=1 height=1 pixelformat=3 label=8" \
      "$("$tool" info "$dir/pic.gif")"
# A 5 x 3 grey picture made by each format's own encoder (build dependencies), read
# through its bundled plug-in by name and by content.
{ printf 'YUV4MPEG2 W5 H3 F25:1 Ip A1:1 C444\nFRAME\n'; head -c 45 /dev/zero | tr '\0' '\200'; } \
    >"$dir/grey.y4m"
{ printf 'P6\n5 3\n255\n'; head -c 45 /dev/zero | tr '\0' '\200'; } >"$dir/grey.ppm"
avifenc "$dir/grey.y4m" "$dir/pic.avif" >/dev/null 2>&1
heif-enc -o "$dir/pic.heic" "$dir/grey.y4m" >/dev/null 2>&1
cjxl "$dir/grey.ppm" "$dir/pic.jxl" >/dev/null 2>&1
for name in pic.avif pic.heic pic.jxl; do
    check "info of $name" "kind=2 width=5 height=3 pixelformat=6 label=24" \
          "$("$tool" info "$dir/$name" 2>/dev/null)"
    check "info of $name by content" "kind=2 width=5 height=3 pixelformat=6 label=24" \
          "$("$tool" info "$dir/$name" --analyze 2>/dev/null)"
done
# A 64 x 48 camera mosaic held a quarter turn clockwise: developed and upright.
"$write_dng" "$dir/pic.dng" 6
check "info of a DNG" "kind=2 width=48 height=64 pixelformat=6 label=24" \
      "$("$tool" info "$dir/pic.dng" 2>/dev/null)"
check "info of a DNG by content" "kind=2 width=48 height=64 pixelformat=6 label=24" \
      "$("$tool" info "$dir/pic.dng" --analyze 2>/dev/null)"
# Thumbnails come through the plug-ins as the browser's do, by their preview entry (whose
# record knows no size): 5 x 3 reduced to 4 x 2.
out=$("$tool" thumb "$dir/pic.avif" "$dir/avif-thumb.bmp" --image-size 4 2>/dev/null); status=$?
check "thumb through a plug-in" "(Preview) 24bit bySPI" "$out"
check "thumb through a plug-in status" 0 "$status"
check "thumb through a plug-in size" "0400000002000000" \
      "$(od -An -tx1 -j18 -N8 "$dir/avif-thumb.bmp" | tr -d ' \n')"
# A batch goes through the plug-ins too, and a thumbnail it cannot write (its name too
# long) is reported while the others are made: on one thread and on several, which write
# the same files.
mkdir "$dir/batch"
cp "$dir/pic.avif" "$dir/in.bmp" "$dir/batch/"
cp "$dir/in.bmp" "$dir/batch/in2.bmp"
long=$(printf 'x%.0s' $(seq 251)).bmp
cp "$dir/in.bmp" "$dir/batch/$long"
for threads in 1 3; do
    out=$(RAVINEL_THREADS=$threads "$tool" thumbs "$dir/batch" "$dir/batch-out$threads" \
          --image-size 4 2>"$dir/batch.err"); status=$?
    check "thumbs of a batch with a failure, $threads threads" \
          "files examined: 4|thumbnails made: 3|" "$(echo "$out" | head -2 | tr '\n' '|')"
    check "thumbs failures counted, $threads threads" "files failed: 1" "$(echo "$out" | tail -1)"
    check "thumbs status after a failure, $threads threads" 1 "$status"
    check "thumbs failure reported, $threads threads" "1 1" \
          "$(grep -c "^ravinel-tool: $long: " "$dir/batch.err") $(wc -l <"$dir/batch.err")"
    check "thumbs written, $threads threads" "in.bmp.bmp in2.bmp.bmp pic.avif.bmp" \
          "$(cd "$dir/batch-out$threads" && echo *)"
done
diff -r "$dir/batch-out1" "$dir/batch-out3" >/dev/null
check "thumbs the same on one thread and three" 0 "$?"
printf 'RVT1\x05\x03\x0a\x14\x00\x00\x00\x00' >"$dir/pic.rvt"
out=$(SUSIE_PLUGIN_DIR="$dir/plugins" "$tool" info "$dir/pic.rvt" 2>/dev/null); status=$?
check "info through a plug-in" "kind=2 width=5 height=3 pixelformat=6 label=24" "$out"
check "info through a plug-in status" 0 "$status"
out=$(SUSIE_PLUGIN_DIR="$dir/plugins" "$tool" info "$dir/pic.rvt" --analyze 2>/dev/null)
check "info through a plug-in by content" "kind=2 width=5 height=3 pixelformat=6 label=24" "$out"

# An archive of the stand-in LHA module holding the BMP, dated 2020-01-02 03:04:06.
{ printf 'FAKEARC\npics/in.bmp\t62\t20514\t6275\n'; cat "$dir/in.bmp"; } >"$dir/pics.lzh"
out=$(LC_ALL=C RAVINEL_ARCHIVER_DIR="$archiver_dir" "$tool" archive list "$dir/pics.lzh")
check "archive list" "$(printf 'pics/in.bmp\t62\t2020/01/02 03:04:06')" "$out"
out=$(RAVINEL_ARCHIVER_DIR="$archiver_dir" "$tool" archive info "$dir/pics.lzh" pics/in.bmp \
      --bmp-first)
status=$?
check "archive info" "kind=8 width=2 height=1 pixelformat=6 label=24" "$out"
check "archive info status" 0 "$status"
out=$(RAVINEL_ARCHIVER_DIR="$dir" "$tool" archive list "$dir/pics.lzh" 2>&1); status=$?
check "archive without its module" \
      "ravinel-tool: LHA 形式書庫 を扱うには UNLHA32.DLL が 必要です。 2" "$out $status"

"$tool" --help >/dev/null; status=$?
check "help" 0 "$status"

[ "$failures" -eq 0 ] && echo "ravinel-tool: all checks passed"
exit "$failures"
