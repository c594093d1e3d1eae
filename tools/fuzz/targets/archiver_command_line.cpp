#include <string>

#include "command_line.h"
#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {

// Input: the module's format (first byte, modulo the number of formats), then the
// command line. Parsing never fails.
void fuzzArchiverCommandLine(FuzzInput data) {
    if (data.empty() || data.size() > kMaxFuzzInputBytes) {
        return;
    }
    using archivers::ModuleFormat;
    static constexpr ModuleFormat kFormats[] = {ModuleFormat::Lha, ModuleFormat::Zip,
                                                ModuleFormat::Tar, ModuleFormat::Cab,
                                                ModuleFormat::Rar, ModuleFormat::SevenZip};
    const ModuleFormat format = kFormats[data[0] % std::size(kFormats)];
    const std::string line(reinterpret_cast<const char*>(data.data() + 1), data.size() - 1);
    archivers::parseExtractCommand(format, line);
}

}  // namespace ravinel::fuzz
