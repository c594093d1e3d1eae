#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ravinel::bench {

// One figure of a run, in its unit: "ms", "x" for a ratio, "" for a count.
struct Figure {
    std::string name;
    double value = 0;
    std::string unit = "ms";
};

// One scenario of the browser, run whole: each run reports all its figures. prepare runs
// untimed before every run.
struct GuiBenchCase {
    std::string name;
    std::function<void()> prepare;
    std::function<std::vector<Figure>()> run;
};

// Each family of cases lives in a file of its own and adds itself here.
// A folder of 1,000 photographs: first screen, all thumbnails, idle steps; the same on
// the cores with larger photographs.
void addThumbViewCases(std::vector<GuiBenchCase>& cases);
// A folder of 20,000 files: listing, sorting, setting the list, scrolling.
void addLargeFolderCases(std::vector<GuiBenchCase>& cases);
// A 4000x3000 JPEG opened in an image window: the window's own load and display times.
void addOpenPictureCases(std::vector<GuiBenchCase>& cases);
// A 30-frame 1920x1080 GIF playing in an image window: the CPU it takes.
void addAnimationCases(std::vector<GuiBenchCase>& cases);
// Stepping through 12 MP and 24 MP JPEGs in an image window: key to picture on screen.
void addStepPictureCases(std::vector<GuiBenchCase>& cases);

}  // namespace ravinel::bench
