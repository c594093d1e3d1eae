#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench_case.h"
#include "dib/nk_dib.h"
#include "platform/simd_level.h"
#include "process/resample/area_passes.h"
#include "process/resample/g_resize.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel::bench {
namespace {

using Resizer = void (*)(NkDib&, NkDib&, uint16_t, uint16_t);
using AreaPass = void (*)(NkDib& dest, const NkDib& src, uint16_t size);

std::string sizes(int width, int height, int destWidth, int destHeight) {
    return std::to_string(width) + "x" + std::to_string(height) + " -> " +
           std::to_string(destWidth) + "x" + std::to_string(destHeight);
}

BenchCase resizeCase(const std::string& method, Resizer resize, int width, int height,
                     int destWidth, int destHeight) {
    auto source =
        std::make_shared<NkDib>(fixtures::toDib(fixtures::photoLikePicture(width, height)));
    auto dest = std::make_shared<NkDib>();
    BenchCase benchCase;
    benchCase.name = method + " " + sizes(width, height, destWidth, destHeight);
    benchCase.sourceMegapixels = width * static_cast<double>(height) / 1e6;
    benchCase.run = [=] {
        resize(*dest, *source, static_cast<uint16_t>(destHeight), static_cast<uint16_t>(destWidth));
    };
    return benchCase;
}

// One pass of the area methods alone, into a destination made once (no page faults).
BenchCase areaPassCase(const std::string& pass, AreaPass run, int width, int height, int destWidth,
                       int destHeight) {
    auto source =
        std::make_shared<NkDib>(fixtures::toDib(fixtures::photoLikePicture(width, height)));
    auto dest = std::make_shared<NkDib>();
    dest->setBitCount(24);
    dest->setHeight(destHeight);
    dest->setWidth(destWidth);
    const bool horizontal = destHeight == height;
    BenchCase benchCase;
    benchCase.name = pass + " " + sizes(width, height, destWidth, destHeight);
    benchCase.sourceMegapixels = width * static_cast<double>(height) / 1e6;
    benchCase.run = [=] {
        run(*dest, *source, static_cast<uint16_t>(horizontal ? destWidth : destHeight));
    };
    return benchCase;
}

// The case with the vector paths capped at SSE2 ("(SSE2)"): the level in use otherwise
// comes from the processor, or is portable under RAVINEL_NO_SIMD.
BenchCase cappedAtSse2(BenchCase benchCase) {
    benchCase.name += " (SSE2)";
    benchCase.run = [run = benchCase.run] {
        const SimdLevel inUse = simdLevel();
        setSimdLevel(std::min(inUse, SimdLevel::sse2));
        run();
        setSimdLevel(inUse);
    };
    return benchCase;
}

// The physical floor of a pass over a picture: one plain copy of its bytes.
BenchCase memcpyCase(int width, int height) {
    const size_t bytes = 3 * static_cast<size_t>(width) * static_cast<size_t>(height);
    auto from = std::make_shared<std::vector<uint8_t>>(bytes, uint8_t{1});
    auto to = std::make_shared<std::vector<uint8_t>>(bytes, uint8_t{0});
    BenchCase benchCase;
    benchCase.name = "memcpy " + std::to_string(width) + "x" + std::to_string(height) + "x3";
    benchCase.sourceMegapixels = width * static_cast<double>(height) / 1e6;
    benchCase.run = [=] { std::memcpy(to->data(), from->data(), bytes); };
    return benchCase;
}

}  // namespace

void addResizeCases(std::vector<BenchCase>& cases) {
    cases.push_back(memcpyCase(4000, 3000));
    const std::vector<BenchCase> area = {
        resizeCase("AreaReduce", areaReduce, 4000, 3000, 1274, 956),
        resizeCase("AreaReduce", areaReduce, 1600, 1200, 100, 75),
        areaPassCase("areaReduceH", areaReduceH, 4000, 3000, 1274, 3000),
        areaPassCase("areaReduceV", areaReduceV, 1274, 3000, 1274, 956),
        resizeCase("AreaExpand", areaExpand, 800, 600, 1600, 1200),
        areaPassCase("areaExpandH", areaExpandH, 800, 600, 1600, 600),
        areaPassCase("areaExpandV", areaExpandV, 1600, 600, 1600, 1200)};
    for (const BenchCase& benchCase : area) {
        cases.push_back(benchCase);
        cases.push_back(cappedAtSse2(benchCase));
    }
    cases.push_back(resizeCase("halftoneResize", halftoneResize, 4000, 3000, 1274, 956));
    cases.push_back(resizeCase("halftoneResize", halftoneResize, 800, 600, 1600, 1200));
    cases.push_back(resizeCase("stretchDrawResize", stretchDrawResize, 4000, 3000, 1274, 956));
    cases.push_back(resizeCase("stretchDrawResize", stretchDrawResize, 800, 600, 1600, 1200));
}

}  // namespace ravinel::bench
