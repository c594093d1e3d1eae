// The libFuzzer entry of one target, chosen by RAVINEL_FUZZ_TARGET at compile time.
#include <cstdlib>
#include <string_view>

#include "tools/fuzz/targets/fuzz_targets.h"

namespace {

void (*targetBody())(ravinel::fuzz::FuzzInput) {
    for (const ravinel::fuzz::FuzzTarget& t : ravinel::fuzz::fuzzTargets()) {
        if (t.name == RAVINEL_FUZZ_TARGET) {
            return t.body;
        }
    }
    std::abort();
}

}  // namespace

// One small input before the search, so that plug-ins and archiver modules are loaded
// (and their coverage counted) from the first run on.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const uint8_t warmUp[] = {8};
    targetBody()(warmUp);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto body = targetBody();
    body({data, size});
    return 0;
}
