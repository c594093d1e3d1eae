#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ravinel::bench {

// One timed operation. prepare runs untimed before every run (to hand run a fresh
// input); run is what is timed. The figure is megapixels of source per second.
struct BenchCase {
    std::string name;
    double sourceMegapixels = 0;
    std::function<void()> prepare;
    std::function<void()> run;
};

// Each family of cases lives in a file of its own and adds itself here.
void addResizeCases(std::vector<BenchCase>& cases);
void addJpegCases(std::vector<BenchCase>& cases);
void addFilterCases(std::vector<BenchCase>& cases);
void addReductionCases(std::vector<BenchCase>& cases);
// Palette pictures widened to 24 bits and 16 or 32-bit BMP files read.
void addConversionCases(std::vector<BenchCase>& cases);
void addPipelineCases(std::vector<BenchCase>& cases);
// Listing and sorting: the figure is millions of files per second.
void addListingCases(std::vector<BenchCase>& cases);
// Searching a home folder full of ViX catalogs; millions of catalogs per second.
void addCatalogCases(std::vector<BenchCase>& cases);
// Thumbnails of a folder; files per second = 200 / best seconds.
void addThumbCases(std::vector<BenchCase>& cases);
// A picture converted from its embedded colour profile.
void addColorCases(std::vector<BenchCase>& cases);

}  // namespace ravinel::bench
