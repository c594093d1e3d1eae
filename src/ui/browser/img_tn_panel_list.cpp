#include "browser/img_tn_panel_list.h"

#include <utility>

namespace ravinel {

void ImgTnPanelList::clear() {
    for (ImgTnPanel* tile : takeAll()) {
        free(tile);
    }
}

std::vector<ImgTnPanel*> ImgTnPanelList::takeAll() {
    return std::exchange(tiles_, {});
}

void ImgTnPanelList::free(ImgTnPanel* tile) {
    tile->hide();
    tile->disconnect();
    tile->setItem(nullptr);
    tile->deleteLater();
}

}  // namespace ravinel
