#!/usr/bin/env bash
# The browser's thumbnails of 1,000 photographs (2560x1600 JPEG, 100-pixel thumbnails, high
# quality, no shared cache) on one thread, two and every core, each count in a process of
# its own so that its peak memory is its own; beside them, in the same run and over the
# same files, vipsthumbnail -s 100: one process with libvips' own threads, and one process
# per core. Prints a Markdown table with the ratios and the load average before and after.
# Installs libvips-tools when vipsthumbnail is missing (as root; only this benchmark and
# compare.sh use it) and builds ravinel-gui-bench in build-cores/ (Release).
#
#   tools/bench/thumbs_on_cores.sh
#
# Never part of ./test.sh or CI. Other work on the machine slows every column: read the
# figures beside the load.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${BUILD:-build-cores}
jobs=${JOBS:-2}
runs=3

if ! command -v vipsthumbnail >/dev/null; then
  echo "== installing libvips-tools" >&2
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq libvips-tools >/dev/null
fi
echo "== building (Release) in $build" >&2
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target ravinel-gui-bench >&2

gui_bench=$build/tools/bench/gui/ravinel-gui-bench
case_name="thumbnail view on the cores"
folder=/tmp/ravinel-bench-cores-1000/  # made by the case's first run
cores=$(nproc)
out=$(mktemp -d)
trap 'rm -rf "$out" "$out.time"' EXIT

# The figure named $2 (its median) in the output of a run of the case.
figure() { awk -v name="$2" 'index($0, name) { print $(NF - 4) }' <<<"$1" | head -n1; }

# Ours with $1 threads: median seconds to every thumbnail made, peak MiB.
ours() {
  local report
  report=$(RAVINEL_THREADS=$1 "$gui_bench" "$case_name")
  echo "$report" >&2
  awk -v ms="$(figure "$report" "all thumbnails made")" \
      -v mib="$(figure "$report" "peak resident memory")" 'BEGIN { printf "%.2f %.0f", ms / 1000, mib }'
}

# Median of three wall times in seconds of the command, and its peak MiB (the largest
# single process when it starts several).
timed() {
  local times=() peak=0 line
  for ((i = 0; i < runs; i++)); do
    rm -rf "$out"/*
    /usr/bin/time -f '%e %M' -o "$out.time" "$@" >/dev/null 2>&1
    line=$(tail -n1 "$out.time")
    times+=("${line% *}")
    if [[ ${line#* } =~ ^[0-9]+$ ]] && ((${line#* } > peak)); then peak=${line#* }; fi
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 2p | tr '\n' ' '
  awk -v kib="$peak" 'BEGIN { printf "%.0f", kib / 1024 }'
}

vips_one() { vipsthumbnail -s 100 -o "$out/%s.v" "$folder"*.JPG; }
vips_per_core() {
  find "$folder" -name '*.JPG' -print0 |
    VIPS_CONCURRENCY=1 xargs -0 -P "$cores" -n 50 vipsthumbnail -s 100 -o "$out/%s.v"
}
export -f vips_one vips_per_core
export folder out cores

echo "== warming up: the photographs are made once and read into the page cache" >&2
RAVINEL_THREADS=1 "$gui_bench" "$case_name" >/dev/null
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
read -r one one_mib <<<"$(ours 1)"
read -r two two_mib <<<"$(ours 2)"
read -r all all_mib <<<"$(ours "$cores")"
read -r vips vips_mib <<<"$(timed bash -c vips_one)"
read -r vipsp vipsp_mib <<<"$(timed bash -c vips_per_core)"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo
echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $cores cores, $(vipsthumbnail --vips-version 2>/dev/null | head -n1),"
echo "load average (1, 5, 15 min) before $load_before, after $load_after"
echo
echo "| 1,000 JPEG 2560x1600 to 100-pixel thumbnails | wall s | peak MiB | vs one thread | vipsthumbnail's time / ours |"
echo "|---|---:|---:|---:|---:|"
echo "| browser, 1 thread | $one | $one_mib | 1.00 | $(ratio "$vips" "$one") |"
echo "| browser, 2 threads | $two | $two_mib | $(ratio "$one" "$two") | $(ratio "$vips" "$two") |"
echo "| browser, $cores threads (all cores) | $all | $all_mib | $(ratio "$one" "$all") | $(ratio "$vips" "$all") |"
echo "| vipsthumbnail, one process | $vips | $vips_mib | | 1.00 |"
echo "| vipsthumbnail, $cores processes of one thread | $vipsp | $vipsp_mib (each) | | $(ratio "$vips" "$vipsp") |"
echo
echo "all cores against vipsthumbnail: one process $(ratio "$vips" "$all") times faster, $cores processes $(ratio "$vipsp" "$all") times"
