#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dib/nk_dib.h"

namespace ravinel {

// The thumbnails of the folder shown, owned until the next folder. Positions are stable:
// a thumbnail keeps its position until clear().
class NkDibList {
  public:
    // Takes the picture and returns its position (the item's thumbIndex).
    int32_t add(NkDib dib);
    // The picture at a position from add(); throws std::out_of_range for any other.
    const NkDib& at(int32_t index) const;
    int32_t count() const { return static_cast<int32_t>(dibs_.size()); }
    void clear() { dibs_.clear(); }

  private:
    std::vector<NkDib> dibs_;
};

}  // namespace ravinel
