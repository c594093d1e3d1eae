#include <cstdint>
#include <memory>
#include <string>

#include "bench_case.h"
#include "image/nk_dib.h"
#include "process/g_resize.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel::bench {
namespace {

using Resizer = void (*)(NkDib&, NkDib&, uint16_t, uint16_t);

BenchCase resizeCase(const std::string& method, Resizer resize, int width, int height,
                     int destWidth, int destHeight) {
    auto source =
        std::make_shared<NkDib>(fixtures::toDib(fixtures::photoLikePicture(width, height)));
    auto dest = std::make_shared<NkDib>();
    BenchCase benchCase;
    benchCase.name = method + " " + std::to_string(width) + "x" + std::to_string(height) + " -> " +
                     std::to_string(destWidth) + "x" + std::to_string(destHeight);
    benchCase.sourceMegapixels = width * static_cast<double>(height) / 1e6;
    benchCase.run = [=] {
        resize(*dest, *source, static_cast<uint16_t>(destHeight), static_cast<uint16_t>(destWidth));
    };
    return benchCase;
}

}  // namespace

void addResizeCases(std::vector<BenchCase>& cases) {
    cases.push_back(resizeCase("AreaReduce", areaReduce, 4000, 3000, 1274, 956));
    cases.push_back(resizeCase("AreaReduce", areaReduce, 1600, 1200, 100, 75));
    cases.push_back(resizeCase("AreaExpand", areaExpand, 800, 600, 1600, 1200));
    cases.push_back(resizeCase("halftoneResize", halftoneResize, 4000, 3000, 1274, 956));
    cases.push_back(resizeCase("halftoneResize", halftoneResize, 800, 600, 1600, 1200));
    cases.push_back(resizeCase("stretchDrawResize", stretchDrawResize, 4000, 3000, 1274, 956));
    cases.push_back(resizeCase("stretchDrawResize", stretchDrawResize, 800, 600, 1600, 1200));
}

}  // namespace ravinel::bench
