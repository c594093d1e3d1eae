#pragma once

#include <vector>

#include "common/img_tn_panel.h"

namespace ravinel {

// The tiles of the thumbnail view in page order. The list frees its tiles: they are
// hidden at once and deleted when control returns to the event loop, because a tile may
// be let go of while one of its own mouse handlers runs.
class ImgTnPanelList {
  public:
    ImgTnPanelList() = default;
    ImgTnPanelList(const ImgTnPanelList&) = delete;
    ImgTnPanelList& operator=(const ImgTnPanelList&) = delete;
    ~ImgTnPanelList() { clear(); }

    int count() const { return static_cast<int>(tiles_.size()); }
    bool empty() const { return tiles_.empty(); }
    ImgTnPanel* at(int index) const { return tiles_.at(static_cast<size_t>(index)); }
    void add(ImgTnPanel* tile) { tiles_.push_back(tile); }
    // Frees every tile.
    void clear();
    // Hands over every tile; the list is empty afterwards.
    std::vector<ImgTnPanel*> takeAll();

    // Frees one tile that is in no list.
    static void free(ImgTnPanel* tile);

  private:
    std::vector<ImgTnPanel*> tiles_;
};

}  // namespace ravinel
