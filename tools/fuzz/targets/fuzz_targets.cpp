#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {

const std::vector<FuzzTarget>& fuzzTargets() {
    static const std::vector<FuzzTarget> targets = {
        {"bmp_file", fuzzBmpFile},
        {"clipboard_dib", fuzzClipboardDib},
        {"dib_rle", fuzzDibRle},
        {"graphic_loader", fuzzGraphicLoader},
        {"spi_ifgif", fuzzSpiIfgif},
        {"spi_ifpng", fuzzSpiIfpng},
        {"spi_iftiff", fuzzSpiIftiff},
        {"spi_ifwebp", fuzzSpiIfwebp},
        {"spi_ifraw", fuzzSpiIfraw},  // named .dng: the RAW plug-in goes first
        {"vix_catalog", fuzzVixCatalog},
        {"ini_settings", fuzzIniSettings},
        {"archiver_command_line", fuzzArchiverCommandLine},
        {"archive", fuzzArchive},
        {"natural_compare", fuzzNaturalCompare},
    };
    return targets;
}

}  // namespace ravinel::fuzz
