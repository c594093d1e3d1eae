#include <memory>
#include <string>
#include <vector>

#include "bench_case.h"
#include "color/color_converter.h"
#include "tools/fixtures/icc_profiles.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel::bench {

// A 12-megapixel photo converted from a wide-gamut profile to sRGB, on a fresh copy each
// run; the converter is made once, as the loader keeps it, so the transform is cached after
// the first run.
void addColorCases(std::vector<BenchCase>& cases) {
    constexpr int kWidth = 4000;
    constexpr int kHeight = 3000;
    auto source =
        std::make_shared<const NkDib>(fixtures::toDib(fixtures::photoLikePicture(kWidth, kHeight)));
    auto profile = std::make_shared<const std::vector<uint8_t>>(
        fixtures::iccBytes(fixtures::TestProfile::proPhoto));
    auto converter = std::make_shared<const ColorConverter>();
    auto picture = std::make_shared<NkDib>();
    BenchCase benchCase;
    benchCase.name = "Colour profile 4000x3000 ProPhoto to sRGB";
    benchCase.sourceMegapixels = kWidth * static_cast<double>(kHeight) / 1e6;
    benchCase.prepare = [source, picture] {
        *picture = *source;
        picture->uniqueDib();
    };
    benchCase.run = [converter, picture, profile] { converter->convert(*picture, *profile); };
    cases.push_back(benchCase);
}

}  // namespace ravinel::bench
