// ravinel-gui-bench [FILTER]: runs each window scenario whose name contains FILTER (all
// when absent) three times on Qt's offscreen platform (unless QT_QPA_PLATFORM is set)
// and prints the median of each figure with the range of the three runs.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "gui_bench_case.h"

namespace {

constexpr int kRuns = 3;

void printFigures(const std::vector<std::vector<ravinel::bench::Figure>>& runs) {
    for (size_t f = 0; f < runs.front().size(); ++f) {
        std::vector<double> values;
        for (const auto& run : runs) {
            values.push_back(run[f].value);
        }
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        const ravinel::bench::Figure& figure = runs.front()[f];
        std::printf("  %-52s %10.2f %-2s (%.2f .. %.2f)\n", figure.name.c_str(),
                    ravinel::bench::median(values), figure.unit.c_str(), *low, *high);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::string filter = argc > 1 ? argv[1] : "";
    std::vector<ravinel::bench::GuiBenchCase> cases;
    ravinel::bench::addThumbViewCases(cases);
    ravinel::bench::addLargeFolderCases(cases);
    ravinel::bench::addOpenPictureCases(cases);
    ravinel::bench::addAnimationCases(cases);
    ravinel::bench::addStepPictureCases(cases);
    std::printf("median of %d runs (range)\n", kRuns);
    for (const auto& benchCase : cases) {
        if (benchCase.name.find(filter) == std::string::npos) {
            continue;
        }
        std::printf("%s\n", benchCase.name.c_str());
        std::fflush(stdout);
        std::vector<std::vector<ravinel::bench::Figure>> runs;
        for (int run = 0; run < kRuns; ++run) {
            if (benchCase.prepare) {
                benchCase.prepare();
            }
            runs.push_back(benchCase.run());
        }
        printFigures(runs);
        std::fflush(stdout);
    }
    return 0;
}
