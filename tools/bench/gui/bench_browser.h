#pragma once

#include <QEventLoop>
#include <functional>
#include <string>
#include <vector>

#include "browse/dir_files_info.h"
#include "browser/img_tn_view.h"
#include "codec/graphic_loader.h"
#include "common/file_icon_cache.h"
#include "settings/settings_records.h"

namespace ravinel::bench {

// What the browser window puts together for its thumbnails, with a new user's settings:
// the hub's loader (no plug-ins), the desktop's icons, the shared file list and a shown
// thumbnail view of the browser's design client size (778 x 561) with the default tiles
// and high quality.
class BenchBrowser {
  public:
    BenchBrowser();

    // Reads and sorts the folder as a folder selection in the tree does.
    void readFolder(const std::string& dir);
    // The tiles that can be seen, wholly or in part.
    std::vector<ImgTnPanel*> visibleTiles() const;

    GraphicLoader loader{nullptr};
    FileIconCache icons;
    DirFilesInfo list{&icons};
    ImgTnView view;
};

// Runs step(0), step(1), ... each from its own turn of an event loop; step returns
// whether another follows. Gives for each the time from its start to the start of the next turn:
// the step and the events it caused (painting, tiles freed), during which the program answers no
// input.
std::vector<double> stepsInEventLoop(const std::function<bool(int)>& step);

}  // namespace ravinel::bench
