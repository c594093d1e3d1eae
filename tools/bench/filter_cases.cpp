#include <functional>
#include <memory>
#include <string>

#include "bench_case.h"
#include "dib/nk_dib.h"
#include "process/filter/image_filters.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel::bench {
namespace {

constexpr int kWidth = 1274;
constexpr int kHeight = 956;

std::shared_ptr<const NkDib> sourcePicture() {
    static const auto source =
        std::make_shared<const NkDib>(fixtures::toDib(fixtures::photoLikePicture(kWidth, kHeight)));
    return source;
}

BenchCase filterCase(const std::string& name,
                     std::function<void(NkDib& dest, const NkDib& src)> filter) {
    const std::shared_ptr<const NkDib> source = sourcePicture();
    auto dest = std::make_shared<NkDib>();
    BenchCase benchCase;
    benchCase.name = name + " " + std::to_string(kWidth) + "x" + std::to_string(kHeight);
    benchCase.sourceMegapixels = kWidth * static_cast<double>(kHeight) / 1e6;
    benchCase.run = [=] { filter(*dest, *source); };
    return benchCase;
}

}  // namespace

void addFilterCases(std::vector<BenchCase>& cases) {
    cases.push_back(filterCase("sharpen", [](NkDib& d, const NkDib& s) { sharpen(d, s); }));
    cases.push_back(filterCase("normalizeBrightness",
                               [](NkDib& d, const NkDib& s) { normalizeBrightness(d, s); }));
    cases.push_back(filterCase("normalizeBrightness3DNow",
                               [](NkDib& d, const NkDib& s) { normalizeBrightness3DNow(d, s); }));
    cases.push_back(filterCase("conditionalAverage 15",
                               [](NkDib& d, const NkDib& s) { conditionalAverage(d, s, 15); }));
    cases.push_back(filterCase("conditionalAverage3DNow 15", [](NkDib& d, const NkDib& s) {
        conditionalAverage3DNow(d, s, 15);
    }));
    // Dithering works in place: each run dithers a fresh copy, unshared before timing.
    auto picture = std::make_shared<NkDib>();
    BenchCase dither;
    dither.name = "ditherTo16Bit " + std::to_string(kWidth) + "x" + std::to_string(kHeight);
    dither.sourceMegapixels = kWidth * static_cast<double>(kHeight) / 1e6;
    dither.prepare = [picture] {
        *picture = *sourcePicture();
        picture->uniqueDib();
    };
    dither.run = [picture] { ditherTo16Bit(*picture); };
    cases.push_back(dither);
}

}  // namespace ravinel::bench
