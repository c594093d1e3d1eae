// ravinel-bench [FILTER]: times each case whose name contains FILTER (all when absent)
// and prints the best of several runs after a warm-up.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_case.h"

namespace {

constexpr int kRuns = 7;

double secondsOfOneRun(const ravinel::bench::BenchCase& benchCase) {
    if (benchCase.prepare) {
        benchCase.prepare();
    }
    const auto start = std::chrono::steady_clock::now();
    benchCase.run();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(end - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string filter = argc > 1 ? argv[1] : "";
    std::vector<ravinel::bench::BenchCase> cases;
    ravinel::bench::addResizeCases(cases);
    ravinel::bench::addJpegCases(cases);
    ravinel::bench::addColorCases(cases);
    ravinel::bench::addFilterCases(cases);
    ravinel::bench::addReductionCases(cases);
    ravinel::bench::addConversionCases(cases);
    ravinel::bench::addPipelineCases(cases);
    ravinel::bench::addListingCases(cases);
    ravinel::bench::addCatalogCases(cases);
    ravinel::bench::addThumbCases(cases);
    std::printf("%-44s %10s %12s\n", "case", "best ms", "MP/s source");
    for (const auto& benchCase : cases) {
        if (benchCase.name.find(filter) == std::string::npos) {
            continue;
        }
        secondsOfOneRun(benchCase);  // warm-up: caches, page faults of the outputs
        double best = secondsOfOneRun(benchCase);
        for (int run = 1; run < kRuns; ++run) {
            best = std::min(best, secondsOfOneRun(benchCase));
        }
        std::printf("%-44s %10.2f %12.1f\n", benchCase.name.c_str(), best * 1000,
                    benchCase.sourceMegapixels / best);
    }
    return 0;
}
