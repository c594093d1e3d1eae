#pragma once

#include <cstdint>
#include <string>

#include "codec/graphic_load_info.h"
#include "dib/nk_dib.h"
#include "process/filter/image_filters.h"
#include "process/pipeline/g_process_settings.h"

namespace ravinel {

// Turns a loaded picture into the picture an image window shows: filters before the
// resizing, the resizing by the chosen method, filters after it, then the colour depth.
// The window loads into source, sets the display size and calls execute.
class GProcess {
  public:
    // Runs the whole pipeline. Exceptions of the DIB class, the resamplers and the
    // filters pass through; dest is then the blank 1 x 1 picture, source unchanged.
    void execute();
    // The name of the current colour mode, as the window's information shows it.
    std::string colorModeName() const;

    NkDib source;              // the loaded picture
    NkDib dest;                // the display picture made by execute
    GraphicLoadInfo loadInfo;  // what the last load reported (kept for the window)
    uint16_t destWidth = 0;
    uint16_t destHeight = 0;
    GProcessSettings settings;
    ProgressStageEvent onProgress;  // the stages; may be empty

  private:
    void progress(ProcessStage stage) const;
    // The 24-bit picture of the display size, filtered as the settings say.
    NkDib filteredAndResized() const;
    void runFilters(const FilterSet& filters, FilterPhase phase, NkDib& picture) const;
    void resize(NkDib& into, NkDib& from, ResizeMethod method, bool reduce) const;
    void changeColorDepth();
};

}  // namespace ravinel
