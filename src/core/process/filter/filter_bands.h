#pragma once

#include <functional>

#include "process/filter/image_filters.h"

namespace ravinel {

// Runs work(begin, end) over bands of the rows [0, height) of a picture width pixels wide,
// split over the processing threads (small pictures stay on the calling thread). The row
// reports of progress come from the calling thread, in order, each before the rows it
// names are worked on; with progress, the rows go in blocks so that the reports keep
// pace with the work.
void forEachFilterBand(int height, int width, const ProgressStageEvent& progress,
                       const std::function<void(int begin, int end)>& work);

}  // namespace ravinel
