#include "platform/simd_level.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace ravinel {
namespace {

#if defined(__x86_64__)

constexpr unsigned kOsxsaveBit = 1u << 27;
constexpr unsigned kAvxBit = 1u << 28;
constexpr unsigned kAvx2Bit = 1u << 5;
constexpr unsigned kXmmAndYmmState = 0x6;

bool osSavesYmmRegisters() {
    unsigned eax = 0, edx = 0;
    __asm__("xgetbv" : "=a"(eax), "=d"(edx) : "c"(0));
    return (eax & kXmmAndYmmState) == kXmmAndYmmState;
}

SimdLevel detectSimdLevel() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
        return SimdLevel::sse2;  // SSE2 is part of x86-64
    }
    const bool avx = (ecx & kAvxBit) != 0 && (ecx & kOsxsaveBit) != 0 && osSavesYmmRegisters();
    if (avx && __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0 && (ebx & kAvx2Bit) != 0) {
        return SimdLevel::avx2;
    }
    return SimdLevel::sse2;
}

#else

SimdLevel detectSimdLevel() {
    return SimdLevel::portable;
}

#endif

bool simdTurnedOff() {
    const char* value = std::getenv("RAVINEL_NO_SIMD");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

std::atomic<SimdLevel>& activeLevel() {
    static std::atomic<SimdLevel> level{simdTurnedOff() ? SimdLevel::portable
                                                        : supportedSimdLevel()};
    return level;
}

}  // namespace

SimdLevel supportedSimdLevel() {
    static const SimdLevel level = detectSimdLevel();
    return level;
}

SimdLevel simdLevel() {
    return activeLevel().load(std::memory_order_relaxed);
}

SimdLevel setSimdLevel(SimdLevel level) {
    const SimdLevel capped = std::min(level, supportedSimdLevel());
    activeLevel().store(capped, std::memory_order_relaxed);
    return capped;
}

const char* simdLevelName(SimdLevel level) {
    switch (level) {
        case SimdLevel::sse2:
            return "SSE2";
        case SimdLevel::avx2:
            return "AVX2";
        case SimdLevel::portable:
            break;
    }
    return "portable";
}

}  // namespace ravinel
