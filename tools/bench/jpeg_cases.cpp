#include <memory>
#include <string>
#include <vector>

#include "bench_case.h"
#include "codec/jpeg/jpeg_decoder.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel::bench {
namespace {

BenchCase decodeCase(std::shared_ptr<const std::vector<uint8_t>> jpeg, int width, int height,
                     const JpegDecodeOptions& options) {
    BenchCase benchCase;
    benchCase.name = "JPEG decode " + std::to_string(width) + "x" + std::to_string(height) +
                     " scale 1/" + std::to_string(options.scaleDenominator) +
                     (options.fastestDct ? " fast DCT" : "");
    benchCase.sourceMegapixels = width * static_cast<double>(height) / 1e6;
    benchCase.run = [jpeg, options] { decodeJpeg(*jpeg, options); };
    return benchCase;
}

}  // namespace

void addJpegCases(std::vector<BenchCase>& cases) {
    constexpr int kWidth = 4000;
    constexpr int kHeight = 3000;
    auto jpeg = std::make_shared<const std::vector<uint8_t>>(
        fixtures::encodeJpeg(fixtures::photoLikePicture(kWidth, kHeight), {.quality = 90}));
    cases.push_back(decodeCase(jpeg, kWidth, kHeight, {.scaleDenominator = 1}));
    cases.push_back(decodeCase(jpeg, kWidth, kHeight, {.scaleDenominator = 8}));
    cases.push_back(decodeCase(jpeg, kWidth, kHeight, {.scaleDenominator = 8, .fastestDct = true}));
}

}  // namespace ravinel::bench
