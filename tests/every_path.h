#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/parallel_bands.h"
#include "platform/simd_level.h"

namespace ravinel::testing {

// Runs compute() on every processing path this processor has (each vector level, on one
// thread and on several) and expects each result to equal the portable one-thread result,
// which is returned. what names the case in failure messages.
template <class Compute>
auto expectSameResultOnEveryPath(Compute compute, const std::string& what) {
    // Puts back what was in use, so a run under RAVINEL_NO_SIMD stays portable.
    struct Restore {
        SimdLevel level = simdLevel();
        unsigned threads = processThreads();
        ~Restore() {
            setSimdLevel(level);
            setProcessThreads(threads);
        }
    } restore;
    setSimdLevel(SimdLevel::portable);
    setProcessThreads(1);
    auto reference = compute();
    for (SimdLevel level : {SimdLevel::portable, SimdLevel::sse2, SimdLevel::avx2}) {
        if (setSimdLevel(level) != level) {
            continue;
        }
        for (unsigned threads : {1u, 3u}) {
            setProcessThreads(threads);
            EXPECT_TRUE(compute() == reference)
                << what << " differs on the " << simdLevelName(level) << " path with " << threads
                << " threads";
        }
    }
    return reference;
}

}  // namespace ravinel::testing
