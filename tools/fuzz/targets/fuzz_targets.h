// The input surfaces under fuzzing. Each body feeds one input to one reader and lets
// through only that reader's documented failures: any other exception, a crash or a
// sanitizer report is a finding. The bodies serve both the libFuzzer programs and the
// replay of the regression corpus in the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ravinel::fuzz {

using FuzzInput = std::span<const uint8_t>;

// Inputs above this are refused unread: they only slow the search down.
inline constexpr size_t kMaxFuzzInputBytes = 1024 * 1024;

void fuzzBmpFile(FuzzInput data);
void fuzzClipboardDib(FuzzInput data);
void fuzzDibRle(FuzzInput data);
void fuzzGraphicLoader(FuzzInput data);
void fuzzSpiIfgif(FuzzInput data);
void fuzzSpiIfpng(FuzzInput data);
void fuzzSpiIftiff(FuzzInput data);
void fuzzSpiIfwebp(FuzzInput data);
void fuzzSpiIfraw(FuzzInput data);
void fuzzVixCatalog(FuzzInput data);
void fuzzIniSettings(FuzzInput data);
void fuzzArchiverCommandLine(FuzzInput data);
void fuzzArchive(FuzzInput data);
void fuzzNaturalCompare(FuzzInput data);

struct FuzzTarget {
    std::string_view name;  // also the folder of its corpus
    void (*body)(FuzzInput);
};

// Every surface, by name.
const std::vector<FuzzTarget>& fuzzTargets();

}  // namespace ravinel::fuzz
