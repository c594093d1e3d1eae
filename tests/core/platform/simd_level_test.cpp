#include "platform/simd_level.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace ravinel {
namespace {

// Runs first in the program, before any level was set; ctest runs it once more with
// RAVINEL_NO_SIMD=1.
TEST(SimdLevel, TheEnvironmentCanTurnTheVectorPathsOff) {
    const char* value = std::getenv("RAVINEL_NO_SIMD");
    const bool off = value != nullptr && *value != '\0' && std::string(value) != "0";
    EXPECT_EQ(simdLevel(), off ? SimdLevel::portable : supportedSimdLevel());
}

TEST(SimdLevel, SettingALevelIsCappedToTheProcessor) {
    const SimdLevel supported = supportedSimdLevel();
    EXPECT_EQ(setSimdLevel(SimdLevel::portable), SimdLevel::portable);
    EXPECT_EQ(simdLevel(), SimdLevel::portable);
    EXPECT_EQ(setSimdLevel(SimdLevel::avx2), supported);
    EXPECT_EQ(simdLevel(), supported);
#if defined(__x86_64__)
    EXPECT_GE(supported, SimdLevel::sse2);
#else
    EXPECT_EQ(supported, SimdLevel::portable);
#endif
}

TEST(SimdLevel, NamesAreDistinct) {
    EXPECT_STREQ(simdLevelName(SimdLevel::portable), "portable");
    EXPECT_STREQ(simdLevelName(SimdLevel::sse2), "SSE2");
    EXPECT_STREQ(simdLevelName(SimdLevel::avx2), "AVX2");
}

}  // namespace
}  // namespace ravinel
