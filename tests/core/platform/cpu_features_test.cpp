#include "platform/cpu_features.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace ravinel {
namespace {

// The flags the kernel read from CPUID for the first processor.
std::set<std::string> kernelCpuFlags() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) == 0) {
            std::istringstream words(line.substr(line.find(':') + 1));
            std::set<std::string> flags;
            for (std::string flag; words >> flag;) {
                flags.insert(flag);
            }
            return flags;
        }
    }
    return {};
}

TEST(CpuFeatures, AgreeWithWhatTheKernelReports) {
    ASSERT_TRUE(cpuidAvailable());
    const CpuFeatures features = getCpuFeatures();
#if defined(__x86_64__)
    // Every x86-64 processor has these.
    EXPECT_TRUE(features.mmx);
    EXPECT_TRUE(features.sse);
    EXPECT_TRUE(features.sse2);
    const std::set<std::string> flags = kernelCpuFlags();
    if (flags.empty()) {
        GTEST_SKIP() << "no /proc/cpuinfo flags to compare with";
    }
    EXPECT_EQ(features.mmx, flags.count("mmx") == 1);
    EXPECT_EQ(features.sse, flags.count("sse") == 1);
    EXPECT_EQ(features.sse2, flags.count("sse2") == 1);
    EXPECT_EQ(features.amd3DNow, flags.count("3dnow") == 1);
    EXPECT_EQ(features.amd3DNowExt, flags.count("3dnowext") == 1);
#else
    EXPECT_TRUE(features.mmx);
    EXPECT_FALSE(features.amd3DNow);
#endif
}

}  // namespace
}  // namespace ravinel
