#include "browse/vix_catalog.h"

#include <filesystem>
#include <string>

#include "codec/graphic_load_info.h"
#include "dib/nk_dib.h"
#include "tools/fuzz/targets/fuzz_targets.h"
#include "tools/fuzz/targets/scratch_folder.h"

namespace ravinel::fuzz {
namespace {

// A length-prefixed text at the front of data, taken off it; empty when data is short.
std::string takeText(FuzzInput& data) {
    if (data.empty()) {
        return {};
    }
    const size_t length = std::min<size_t>(data[0], data.size() - 1);
    std::string text(reinterpret_cast<const char*>(data.data() + 1), length);
    data = data.subspan(1 + length);
    return text;
}

}  // namespace

// Input: the folder the catalog is asked about and the file name looked up (each a
// length byte and its text), then the catalog file. The catalog never throws: a bad one
// is no match or no thumbnail.
void fuzzVixCatalog(FuzzInput data) {
    if (data.size() > kMaxFuzzInputBytes) {
        return;
    }
    const std::string dir = takeText(data);
    const std::string fileName = takeText(data);
    std::filesystem::create_directories(scratchFolder() + "vix");
    const std::string catalog = writeScratchFile("vix/_CATALOG.VIX", data);
    const std::string home = scratchFolder() + "vix/";

    findCatalog(home, "");
    catalogMatches(dir, catalog);
    findCatalog(dir, home);
    NkDib target;
    GraphicLoadInfo info;
    readCatalogThumb(catalog, fileName, target, info);
}

}  // namespace ravinel::fuzz
