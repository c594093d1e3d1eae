#!/usr/bin/env bash
# Builds one fuzz target with clang and libFuzzer into build-fuzz/ and runs it.
# Usage: tools/fuzz/run.sh TARGET SECONDS
# The corpus grows in build-fuzz/corpus/TARGET (started from made seeds and the
# regression corpus tests/corpus/TARGET); crashing inputs land in build-fuzz/findings/TARGET.
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ $# -ne 2 ]; then
    echo "usage: $0 TARGET SECONDS" >&2
    exit 2
fi
target=$1
seconds=$2

missing=()
command -v clang++ >/dev/null || missing+=(clang)
compgen -G "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
    missing+=(libclang-rt-14-dev)
if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y "${missing[@]}"
fi

if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DRAVINEL_FUZZ=ON -DBUILD_TESTING=OFF
fi
nice -n 19 cmake --build build-fuzz -j1 --target "fuzz_$target" ravinel-fuzz-seeds

corpus=build-fuzz/corpus/$target
findings=build-fuzz/findings/$target
regression=tests/corpus/$target
mkdir -p "$corpus" "$findings" "$regression"
build-fuzz/tools/fuzz/ravinel-fuzz-seeds "$target" "$corpus"

log=build-fuzz/findings/$target.log
before=$(find "$findings" -type f | wc -l)
status=0
# The tests' suppressions: system libraries' own leaks are no finding.
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
# New inputs go to the first folder only; the regression corpus is read, never written.
# The decoders refuse pictures over 4096 pixels a side and pixel stores over 256 MiB from
# their headers, before allocating, so one allocation above 256 MiB, or a run that holds
# 2 GiB, is a finding: a small input made something decode at a cost it does not declare.
nice -n 19 "build-fuzz/tools/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=25 \
    -malloc_limit_mb=256 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "$regression" >"$log" 2>&1 || status=$?

after=$(find "$findings" -type f | wc -l)
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n1 || true)
features=$(grep -o 'ft: [0-9]*' "$log" | tail -n1 || true)
echo "target:     $target (${seconds} s)"
echo "executions: ${executions:-unknown}"
echo "coverage:   ${coverage:-none} ${features}"
echo "corpus:     $(find "$corpus" -type f | wc -l) files"
echo "findings:   $((after - before)) new, $after in $findings (exit status $status)"
echo "log:        $log"
if [ "$status" -ne 0 ]; then
    grep -m1 -E 'ERROR: |runtime error|deadly signal|Timeout|out-of-memory|terminate called' \
        "$log" || true
fi
exit "$status"
