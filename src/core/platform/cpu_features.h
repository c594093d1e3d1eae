#pragma once

namespace ravinel {

// What the processor offers to the image processing.
struct CpuFeatures {
    bool mmx = false;
    bool sse = false;
    bool sse2 = false;
    bool amd3DNow = false;
    bool amd3DNowExt = false;
};

// True when the processor has the CPUID instruction (always on x86-64). Builds for
// other processors have no CPUID and answer true: their feature test is their own.
bool cpuidAvailable();

// The features; on processors other than x86, MMX is reported present (the portable
// code stands in for it) and the rest absent.
CpuFeatures getCpuFeatures();

}  // namespace ravinel
