#include <memory>
#include <string>

#include "bench_case.h"
#include "process/pipeline/g_process.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel::bench {
namespace {

// The display picture of a 4000 x 3000 photograph on a 1280 x 1024 screen, as a new
// user's settings make it: area reduction, normalisation and sharpening after it.
BenchCase pipelineCase(const std::string& name, uint8_t colorMode, bool dither) {
    constexpr int kWidth = 4000;
    constexpr int kHeight = 3000;
    auto process = std::make_shared<GProcess>();
    process->source = fixtures::toDib(fixtures::photoLikePicture(kWidth, kHeight));
    process->destWidth = 1274;
    process->destHeight = 956;
    process->settings.reductMode = ResizeMethod::area;
    process->settings.expandMode = ResizeMethod::area;
    process->settings.fltInReduct = filterSetFromText("0220");
    process->settings.fltInExpand = filterSetFromText("0010");
    process->settings.colorMode = modeOfIndex<ColorMode>(colorMode);
    process->settings.dither = dither;
    BenchCase benchCase;
    benchCase.name = "pipeline 4000x3000 -> 1274x956 " + name;
    benchCase.sourceMegapixels = kWidth * static_cast<double>(kHeight) / 1e6;
    benchCase.run = [process] { process->execute(); };
    return benchCase;
}

}  // namespace

void addPipelineCases(std::vector<BenchCase>& cases) {
    cases.push_back(pipelineCase("0220, 24-bit", 0, false));
    cases.push_back(pipelineCase("0220, 24-bit dithered", 0, true));
    cases.push_back(pipelineCase("0220, HalfTone8", 1, false));
}

}  // namespace ravinel::bench
