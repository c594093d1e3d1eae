#include <cstdint>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_case.h"
#include "bench_folder.h"
#include "browse/vix_catalog.h"
#include "tests/core/browse/vix_catalog_builder.h"

namespace ravinel::bench {
namespace {

// One more than the search reads, none of them of the folder looked for.
constexpr int kCatalogCount = 65001;

void writeCatalogs(const std::string& home) {
    for (int i = 0; i < kCatalogCount; ++i) {
        const std::vector<uint8_t> bytes =
            testing::VixCatalogBuilder().folder("/elsewhere/" + std::to_string(i) + "/").bytes();
        std::ofstream out(home + "c" + std::to_string(i) + ".vix", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write the catalogs into " + home);
        }
    }
}

struct CatalogState {
    std::unique_ptr<BenchFolder> home;
    std::unique_ptr<BenchFolder> pictures;
};

}  // namespace

void addCatalogCases(std::vector<BenchCase>& cases) {
    auto state = std::make_shared<CatalogState>();
    // The figure is millions of catalogs per second: the whole home folder is listed
    // and the first 65,000 catalogs are opened.
    cases.push_back({"catalog search, 65001 home catalogs", kCatalogCount / 1e6,
                     [state] {
                         if (!state->home) {
                             state->home =
                                 std::make_unique<BenchFolder>("ravinel-vix-home", writeCatalogs);
                             state->pictures = std::make_unique<BenchFolder>(
                                 "ravinel-vix-pictures", [](const std::string&) {});
                         }
                     },
                     [state] {
                         if (!findCatalog(state->pictures->path(), state->home->path()).empty()) {
                             throw std::logic_error("a catalog matched");
                         }
                     }});
}

}  // namespace ravinel::bench
