#!/usr/bin/env bash
# Builds the test programs whose code runs on worker threads with ThreadSanitizer into
# build-tsan/ and runs their tests; the first data race stops its test. Run by hand: it is
# no part of test.sh or CI (see docs/architecture.md, "Vector paths and threads").
# Usage: tools/tsan.sh [CTEST_ARGUMENT...]   (e.g. -R ThumbWorkers to run fewer tests)
set -euo pipefail
cd "$(dirname "$0")/.."

# The programs, each named by the label its tests carry: thumbnails on workers, the
# browser window that places them, preloading and the animation window, the JPEG bands
# and the memory budget, the band splitter and the resamplers, filters and pixel
# conversions it splits over threads, the plug-ins' per-thread limits, the archive layer
# and the archive window, whose members are prepared ahead on the window's worker, and
# the tool, whose thumbs command runs a thread per core.
programs=(ravinel_browse_tests ravinel_browser_tests ravinel_viewer_tests ravinel_codec_tests
          ravinel_platform_tests ravinel_process_tests ravinel_dib_tests plugin_tests
          hostile_files_tests archive_integration_tests ravinel_dialogs_tests)
# What the tool's end-to-end test runs besides the tool.
tool_test_parts=(ravinel-tool rvtest write_test_dng ravinel-sample
                 fake_unlha fake_tar fake_unzip fake_lmzip)
# The archiver modules the archive tests load.
modules=(unlha32 unzip32 tar32 cab32 unrar32 7-zip32)

export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=1
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRAVINEL_TSAN=ON \
  -DRAVINEL_WERROR=ON >/dev/null
cmake --build build-tsan -j2 --target "${programs[@]}" "${tool_test_parts[@]}" \
  "${modules[@]}"

# Races inside system libraries that are not built with the sanitizer are suppressed,
# each with its reason, in tests/tsan.supp; ours never are.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
labels=$(IFS='|'; echo "${programs[*]}|ravinel-tool")
ctest --test-dir build-tsan --output-on-failure -j2 -L "^($labels)\$" "$@"
