#include <memory>
#include <string>

#include "bench_case.h"
#include "dib/nk_dib.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel::bench {
namespace {

constexpr int kWidth = 1274;
constexpr int kHeight = 956;

// Converts a fresh copy of a 24-bit picture each run: a conversion replaces the store.
BenchCase reductionCase(const std::string& name, NkDibPixelFormat target, uint8_t mode) {
    auto source =
        std::make_shared<NkDib>(fixtures::toDib(fixtures::photoLikePicture(kWidth, kHeight)));
    auto work = std::make_shared<NkDib>();
    BenchCase benchCase;
    benchCase.name = name + " " + std::to_string(kWidth) + "x" + std::to_string(kHeight);
    benchCase.sourceMegapixels = kWidth * static_cast<double>(kHeight) / 1e6;
    benchCase.prepare = [=] {
        *work = *source;
        work->setConvertMode(mode);
    };
    benchCase.run = [=] { work->setPixelFormat(target); };
    return benchCase;
}

}  // namespace

void addReductionCases(std::vector<BenchCase>& cases) {
    cases.push_back(
        reductionCase("ConvertToHalfTone", NkDibPixelFormat::pf8BitHalftone, NkDib::kConvertFast));
    cases.push_back(reductionCase("ConvertToHalfToneBW", NkDibPixelFormat::pf1BitHalftone,
                                  NkDib::kConvertFast));
    cases.push_back(reductionCase("24 -> 8 bit, high quality", NkDibPixelFormat::pf8Bit,
                                  NkDib::kConvertHighQuality));
    cases.push_back(
        reductionCase("24 -> 8 bit, fast", NkDibPixelFormat::pf8Bit, NkDib::kConvertFast));
    cases.push_back(reductionCase("24 -> 4 bit, high quality", NkDibPixelFormat::pf4Bit,
                                  NkDib::kConvertHighQuality));
}

}  // namespace ravinel::bench
