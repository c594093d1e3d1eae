#include "browse/nk_dib_list.h"

#include <stdexcept>
#include <utility>

namespace ravinel {

int32_t NkDibList::add(NkDib dib) {
    dibs_.push_back(std::move(dib));
    return count() - 1;
}

const NkDib& NkDibList::at(int32_t index) const {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("no thumbnail at position " + std::to_string(index));
    }
    return dibs_[static_cast<size_t>(index)];
}

}  // namespace ravinel
