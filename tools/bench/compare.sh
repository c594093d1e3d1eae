#!/usr/bin/env bash
# Times our resamplers, thumbnailer and picture opening against the libraries users would
# pick instead (OpenCV, Pillow, libvips, ImageMagick), on the same pictures, in one run,
# one thread and all cores, and writes docs/benchmarks-compare.md and
# docs/benchmarks-compare.png. Installs what it needs (as root, Debian packages) and
# builds the project's benchmark programs in build-compare/ (Release, no tests).
#
#   tools/bench/compare.sh
#
# Never part of ./test.sh or CI: it installs benchmark-only packages and takes minutes.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=$root/build-compare
work=$build/compare
python=/usr/bin/python3  # Debian's, which has the apt-installed modules
jobs=${JOBS:-2}

scripts/install-deps.sh  # what the build needs
packages=(python3-opencv python3-pil python3-numpy python3-matplotlib libvips-dev
          libvips-tools imagemagick hyperfine libjpeg-turbo-progs)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "== installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

echo "== building (Release) in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target ravinel-bench ravinel-gui-bench ravinel-tool \
  ravinel-sample
mkdir -p "$work"
gcc -O2 -o "$work/vips_time" tools/bench/compare/vips_time.c $(pkg-config --cflags --libs vips)

bin=$build/bin
bench=$build/tools/bench/ravinel-bench
gui_bench=$build/tools/bench/gui/ravinel-gui-bench

echo "== pictures in $work"
pictures=$work/pictures
mkdir -p "$pictures"
for size in 4000x3000 1600x1200 800x600; do
  # The pixels ravinel-bench resamples, uncompressed, and in libvips' own format.
  "$bin/ravinel-sample" "$pictures/p$size.ppm" "${size%x*}" "${size#*x}"
  vips copy "$pictures/p$size.ppm" "$pictures/p$size.v"
done
# The JPEG the window benchmark opens: the same bytes, or its kept copy is made again.
"$bin/ravinel-sample" "$pictures/photo.jpg" 4000 3000
cmp -s "$pictures/photo.jpg" /tmp/ravinel-bench-open/photo.jpg || rm -rf /tmp/ravinel-bench-open
thumbs=$work/thumbs-source
rm -rf "$thumbs" && mkdir -p "$thumbs"
"$bin/ravinel-sample" "$thumbs/IMG_0001.jpg" 1600 1200
for i in $(seq 2 200); do
  cp "$thumbs/IMG_0001.jpg" "$thumbs/$(printf 'IMG_%04d.jpg' "$i")"
done
cat >"$work/screen.json" <<'EOF'
{"synchronousWindowSystemEvents": false, "windowFrameMargins": false,
 "screens": [{"name": "bench", "x": 0, "y": 0, "width": 1280, "height": 1024,
              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}
EOF

results=$work/results.tsv  # threads, case, who, best ms
: >"$results"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# The machine is shared: before each group of measurements, wait (5 s at most) for a
# second in which the processors were at least 90 % idle.
cpu_times() { awk '/^cpu / { print $2 + $3 + $4 + $5 + $6 + $7 + $8, $5 + $6 }' /proc/stat; }
wait_quiet() {
  local total idle total2 idle2
  for _ in $(seq 5); do
    read -r total idle < <(cpu_times)
    sleep 1
    read -r total2 idle2 < <(cpu_times)
    (((idle2 - idle) * 100 >= 90 * (total2 - total))) && return
  done
  echo "   (the machine stayed busy; measuring anyway)"
}

# "case<TAB>who<TAB>ms" lines from stdin, tagged with the thread mode.
record() { sed "s/^/$1\t/" >>"$results"; }

# Our resampler figures: ravinel-bench's own best of 7, read from its table.
ours_bench() {
  "${limits[@]}" "$bench" "$1" | awk -v who="$2" 'NR > 1 {
      ms = $(NF - 1); $(NF) = ""; $(NF - 1) = ""; sub(/ +$/, "");
      printf "%s\t%s\t%s\n", $0, who, ms }'
}

# Whole commands: best of 3 after a warm-up, by hyperfine.
timed_command() {  # mode case who command...
  local mode=$1 case=$2 who=$3
  shift 3
  local out=$work/thumbs-out json=$work/hyperfine.json
  wait_quiet
  hyperfine --style none --warmup 1 --runs 3 --export-json "$json" \
    --prepare "rm -rf '$out' && mkdir -p '$out'" "$*" >/dev/null
  printf '%s\t%s\t%s\n' "$case" "$who" \
    "$("$python" -c 'import json,sys; print(min(json.load(open(sys.argv[1]))["results"][0]["times"]) * 1000)' "$json")" |
    record "$mode"
}

thumb_case="thumbnails of 200 JPEG 1600x1200"
out=$work/thumbs-out
for mode in 1 all; do
  echo "== threads: $mode"
  if [ "$mode" = 1 ]; then
    limits=(env RAVINEL_THREADS=1 VIPS_CONCURRENCY=1 MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1)
    pin=(taskset -c 0)
  else
    limits=(env)
    pin=()
  fi
  wait_quiet
  "${limits[@]}" "$bench" "Area" >/dev/null  # warm the machine's caches once
  { ours_bench Area Ravinel; ours_bench memcpy Ravinel; } | record "$mode"

  wait_quiet
  "${limits[@]}" "$python" tools/bench/compare/peers.py "$pictures" "$mode" | record "$mode"

  wait_quiet
  for resize_case in "AreaReduce 4000x3000 -> 1274x956:4000x3000:1274:956" \
                     "AreaReduce 1600x1200 -> 100x75:1600x1200:100:75" \
                     "AreaExpand 800x600 -> 1600x1200:800x600:1600:1200"; do
    IFS=: read -r case size width height <<<"$resize_case"
    for op in resize shrink; do
      [ "$op" = shrink ] && [ "$size" = 800x600 ] && continue  # shrink only reduces
      ms=$("${limits[@]}" "$work/vips_time" "$op" "$pictures/p$size.v" "$width" "$height" 9 |
           cut -d' ' -f3)
      printf '%s\tlibvips %s\t%s\n' "$case" "$op" "$ms" | record "$mode"
    done
  done
  wait_quiet
  ms=$("${limits[@]}" "$work/vips_time" thumbnail "$pictures/photo.jpg" 1274 956 5 | cut -d' ' -f3)
  printf 'open JPEG 4000x3000, fit 1274x956\tlibvips thumbnail\t%s\n' "$ms" | record "$mode"

  wait_quiet
  # The program's own load and display times of an image window, 1280x1024 screen.
  "${limits[@]}" env QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" \
    "$gui_bench" "open a JPEG" 2>/dev/null |
    awk 'function ms() { for (i = 2; i <= NF; ++i) if ($i == "ms") return $(i - 1) }
         /load \+ display/ { printf "open JPEG 4000x3000, fit 1274x956\tRavinel\t%s\n", ms() }
         /load \(/ { printf "load: JPEG 4000x3000\tRavinel\t%s\n", ms() }' |
    record "$mode"

  wait_quiet
  # libjpeg-turbo's own decoder benchmark, full size, RGB: its figure is the mean
  # megapixels/s over a second; the best of three such means is kept.
  for _ in 1 2 3; do
    "${pin[@]}" tjbench "$pictures/photo.jpg" -rgb -nowrite -quiet -benchtime 1 -warmup 0.5
  done | awk '$1 == "RGB" && $NF > best { best = $NF }
              END { printf "load: JPEG 4000x3000\ttjbench decode\t%.3f\n", 12000 / best }' |
    record "$mode"

  timed_command "$mode" "$thumb_case, high quality" Ravinel \
    "${pin[*]} ${limits[*]} $bin/ravinel-tool thumbs $thumbs $out"
  timed_command "$mode" "$thumb_case, low quality" Ravinel \
    "${pin[*]} ${limits[*]} $bin/ravinel-tool thumbs $thumbs $out --low"
  # The peers make one size whatever our quality: listed under both of ours.
  timed_command "$mode" "$thumb_case" vipsthumbnail \
    "${pin[*]} ${limits[*]} vipsthumbnail -s 100 -o $out/%s.ppm $thumbs/*.jpg"
  timed_command "$mode" "$thumb_case" "ImageMagick mogrify -thumbnail" \
    "${pin[*]} ${limits[*]} mogrify -path $out -format bmp -thumbnail 100x100 $thumbs/*.jpg"
  timed_command "$mode" "$thumb_case" "ImageMagick mogrify -thumbnail, jpeg:size" \
    "${pin[*]} ${limits[*]} mogrify -path $out -format bmp -define jpeg:size=200x200 \
       -thumbnail 100x100 $thumbs/*.jpg"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo "== report"
"$python" tools/bench/compare/report.py "$results" docs/benchmarks-compare.md \
  docs/benchmarks-compare.png "$load_before" "$load_after"
echo "written: docs/benchmarks-compare.md docs/benchmarks-compare.png"
