#include "platform/cpu_features.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace ravinel {

#if defined(__x86_64__) || defined(__i386__)

namespace {

constexpr unsigned kMmxBit = 1u << 23;
constexpr unsigned kSseBit = 1u << 25;
constexpr unsigned kSse2Bit = 1u << 26;
constexpr unsigned k3DNowBit = 1u << 31;
constexpr unsigned k3DNowExtBit = 1u << 30;

}  // namespace

// On 32-bit x86 the compiler's helper toggles the EFLAGS ID bit (bit 21) to find the
// instruction; on x86-64 it always exists.
bool cpuidAvailable() {
    return __get_cpuid_max(0, nullptr) != 0;
}

CpuFeatures getCpuFeatures() {
    CpuFeatures features;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0) {
        features.mmx = (edx & kMmxBit) != 0;
        features.sse = (edx & kSseBit) != 0;
        features.sse2 = (edx & kSse2Bit) != 0;
    }
    // __get_cpuid asks for the highest extended leaf first, so a processor without the
    // extended leaves reports no 3DNow! instead of garbage.
    if (__get_cpuid(0x80000001u, &eax, &ebx, &ecx, &edx) != 0) {
        features.amd3DNow = (edx & k3DNowBit) != 0;
        features.amd3DNowExt = (edx & k3DNowExtBit) != 0;
    }
    return features;
}

#else

bool cpuidAvailable() {
    return true;
}

CpuFeatures getCpuFeatures() {
    CpuFeatures features;
    features.mmx = true;
    return features;
}

#endif

}  // namespace ravinel
