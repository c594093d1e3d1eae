#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {

// Names a target in test output.
void PrintTo(const FuzzTarget& target, std::ostream* out) {
    *out << target.name;
}

namespace {

std::vector<uint8_t> readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CorpusReplay : public ::testing::TestWithParam<FuzzTarget> {};

// A body lets through only its reader's documented failures, so every file must pass
// without an exception, a crash or a sanitizer report.
TEST_P(CorpusReplay, EveryFileRunsClean) {
    const std::filesystem::path folder =
        std::filesystem::path(RAVINEL_CORPUS_DIR) / std::string(GetParam().name);
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no corpus in " << folder;
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::vector<uint8_t> data = readAll(file);
        EXPECT_NO_THROW(GetParam().body(data));
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay, ::testing::ValuesIn(fuzzTargets()),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace ravinel::fuzz
