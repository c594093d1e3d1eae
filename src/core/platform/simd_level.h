#pragma once

namespace ravinel {

// The instruction sets the hot loops have paths for, in rising order. The portable path
// is the reference: every other path gives exactly its bytes.
enum class SimdLevel { portable, sse2, avx2 };

// The best level this processor and its operating system support (AVX2 needs the OS to
// save the 256-bit registers). Always portable on processors other than x86-64.
SimdLevel supportedSimdLevel();

// The level the hot loops use: the supported one, or portable when the environment
// variable RAVINEL_NO_SIMD is set to anything but "" or "0".
SimdLevel simdLevel();

// Makes the hot loops use level, capped to the supported one; returns the level in use.
// For tests and benchmarks that compare the paths.
SimdLevel setSimdLevel(SimdLevel level);

const char* simdLevelName(SimdLevel level);

}  // namespace ravinel
