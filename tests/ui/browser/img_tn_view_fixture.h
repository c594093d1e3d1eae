#pragma once

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "browser/img_tn_view.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel {

// Tiles of 100 x 100 with a 96-pixel square, in a view four tiles wide and two high.
inline ThumbPanel squareTiles() {
    ThumbPanel config;
    config.panelW = 100;
    config.panelH = 100;
    config.imageSize = 96;
    config.imageTop = 2;
    config.labelTop = 80;
    return config;
}

inline std::string itemName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%02d.jpg", i);
    return name;
}

// A view of 100-pixel tiles, four columns and two rows in sight, over a fresh folder.
class ImgTnViewTest : public ::testing::Test {
  protected:
    ImgTnViewTest() : loader(nullptr), list(&icons), view(nullptr, squareTiles(), icons, loader) {
        loader.doAnalyze = true;
        view.resize(4 * 100 + barWidth(), 200);
    }

    int barWidth() const { return view.style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

    // Fills the folder with count small JPEG pictures and shows it, in name order.
    void showPictures(int count) {
        const std::vector<uint8_t> jpeg = fixtures::encodeJpeg(fixtures::gradientPicture(40, 30));
        for (int i = 0; i < count; ++i) {
            tmp.write(itemName(i), jpeg);
        }
        show();
    }
    void show() {
        list.setDir(tmp.path(""));
        list.sort(0);
        view.setFiles(list);
    }

    // The list positions the view examined, one step at a time, until it is done.
    std::vector<int> makeAll() {
        std::vector<int> order;
        for (int step = 0; step < 10 * list.count() + 10 && view.makeNextThumb(); ++step) {
            for (int p = 0; p < list.count(); ++p) {
                if (list.item(p).info.kind != GraphicKind::gkNone &&
                    std::find(order.begin(), order.end(), p) == order.end()) {
                    order.push_back(p);
                }
            }
            view.drawNextTile();
        }
        return order;
    }

    QScrollBar* bar() { return view.findChild<QScrollBar*>(); }
    void scrollBarTo(int pos) { bar()->setValue(pos); }

    // Every tile of the page stands in its column and row, less the offset of the page.
    void expectTilesInGrid() {
        const int offset = view.scrollPosition() % 100;
        ASSERT_EQ(view.tileCount(), view.lastVisible() - view.firstVisible() + 1);
        for (int k = 0; k < view.tileCount(); ++k) {
            const ImgTnPanel* tile = view.tileAt(k);
            EXPECT_EQ(tile->item(), &list.item(view.firstVisible() + k)) << k;
            EXPECT_EQ(tile->geometry(), QRect(k % 4 * 100, k / 4 * 100 - offset, 100, 100)) << k;
        }
    }

    testing::TempDir tmp;
    GraphicLoader loader;
    FileIconCache icons;
    DirFilesInfo list;
    ImgTnView view;
};

}  // namespace ravinel
