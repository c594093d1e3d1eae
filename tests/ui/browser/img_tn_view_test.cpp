#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/core/browse/vix_catalog_builder.h"
#include "tests/ui/browser/img_tn_view_fixture.h"

namespace ravinel {
namespace {

TEST_F(ImgTnViewTest, EmptyFolderHasNoTilesAndNothingToDo) {
    show();
    EXPECT_EQ(view.count(), 0);
    EXPECT_EQ(view.tileCount(), 0);
    EXPECT_FALSE(view.scrollBarShown());
    EXPECT_FALSE(view.makeNextThumb());
    EXPECT_TRUE(view.drawNextTile());
}

TEST_F(ImgTnViewTest, FirstLayoutOfTenItems) {
    showPictures(10);
    EXPECT_EQ(view.grid().columns, 4);
    EXPECT_EQ(view.grid().maxScroll, 100);
    EXPECT_TRUE(view.scrollBarShown());
    EXPECT_EQ(bar()->maximum(), 100);
    EXPECT_EQ(bar()->pageStep(), 200);
    EXPECT_EQ(view.firstVisible(), 0);
    EXPECT_EQ(view.lastVisible(), 9);
    expectTilesInGrid();
    for (int p = 0; p < 10; ++p) {
        EXPECT_TRUE(list.item(p).hasTile);
    }
}

TEST_F(ImgTnViewTest, MakesThumbnailsFromTheFirstVisibleItemOn) {
    showPictures(30);
    // Three made at the top, then the view moves down three rows.
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(view.makeNextThumb());
    }
    EXPECT_EQ(view.madeCount(), 3);
    scrollBarTo(300);
    EXPECT_EQ(view.firstVisible(), 12);
    // Those three come first in the record, as examined before the scroll.
    std::vector<int> expected = {0, 1, 2};
    for (int p = 12; p < 30; ++p) {
        expected.push_back(p);
    }
    for (int p = 3; p < 12; ++p) {
        expected.push_back(p);
    }
    const std::vector<int> order = makeAll();
    EXPECT_EQ(order, expected);
    EXPECT_EQ(view.madeCount(), 30);
    EXPECT_FALSE(view.makeNextThumb());
    // Every tile of the page is drawn within one pass over the tiles.
    bool done = false;
    for (int i = 0; i < 2 * view.tileCount() + 2 && !done; ++i) {
        view.makeNextThumb();
        done = view.drawNextTile();
    }
    EXPECT_TRUE(done);
    for (int k = 0; k < view.tileCount(); ++k) {
        EXPECT_TRUE(view.tileAt(k)->drawn()) << k;
    }
}

TEST_F(ImgTnViewTest, ThumbnailIsDrawnPixelForPixelInItsPlace) {
    showPictures(2);
    EXPECT_TRUE(view.makeNextThumb());
    view.drawNextTile();
    const ImgTnPanel* tile = view.tileAt(0);
    EXPECT_TRUE(tile->drawn());
    // 40 x 30 is enlarged to 96 x 72 and centred across its height.
    EXPECT_EQ(tile->image().size(), QSize(96, 72));
    EXPECT_EQ(tile->imageBounds(), QRect(2, 2 + 12, 96, 72));
    EXPECT_EQ(tile->imageHint(), QString("40x30 24bit JPEG"));
    // The second is not made yet and keeps its icon, centred in the square.
    const ImgTnPanel* waiting = view.tileAt(1);
    EXPECT_FALSE(waiting->drawn());
    EXPECT_EQ(waiting->imageBounds(), QRect(2 + 32, 2 + 32, 32, 32));
}

TEST_F(ImgTnViewTest, ScreenDepthChoosesThePixelFormatOfThumbnails) {
    view.setThumbColorBit(8);
    showPictures(1);
    view.makeNextThumb();
    view.drawNextTile();
    EXPECT_EQ(view.thumbPixelFormat(), NkDibPixelFormat::pf8BitHalftone);
    EXPECT_EQ(view.tileAt(0)->image().format(), QImage::Format_Indexed8);
}

// The view's cache is the one of the run's own cache folder.
TEST_F(ImgTnViewTest, SharedThumbnailsAreReadAndWrittenOnlyWhenSwitchedOn) {
    const SharedThumbCache cache = SharedThumbCache::forUser();
    showPictures(2);
    makeAll();
    EXPECT_FALSE(cache.find(tmp.path(itemName(0)), ThumbFlavour::normal).has_value());

    view.setUseSharedCache(true);
    show();
    makeAll();
    EXPECT_TRUE(cache.find(tmp.path(itemName(0)), ThumbFlavour::normal).has_value());
    // Its bytes spoilt and its time kept, the picture still comes from its entry.
    const auto time = std::filesystem::last_write_time(tmp.path(itemName(1)));
    tmp.write(itemName(1), std::vector<uint8_t>(500, 'x'));
    std::filesystem::last_write_time(tmp.path(itemName(1)), time);
    show();
    makeAll();
    EXPECT_EQ(list.item(1).info.kind, GraphicKind::gkJpeg);
    view.setUseSharedCache(false);
    show();
    makeAll();
    EXPECT_EQ(list.item(1).info.kind, GraphicKind::gkFile);
}

TEST_F(ImgTnViewTest, FileThatIsNoPictureIsDescribedAndKeepsItsIcon) {
    const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    tmp.write("note.txt", text);
    show();
    EXPECT_TRUE(view.makeNextThumb());
    view.drawNextTile();
    const ImgTnPanel* tile = view.tileAt(0);
    EXPECT_EQ(list.item(0).info.kind, GraphicKind::gkFile);
    EXPECT_TRUE(tile->drawn());
    EXPECT_EQ(tile->imageHint(), QString::fromUtf8("TXTファイル"));
    EXPECT_EQ(tile->imageBounds().size(), QSize(32, 32));
    EXPECT_TRUE(tile->labelHint().startsWith("note.txt\n5 Byte\n"));
    EXPECT_EQ(tile->labelText(), QString("note.txt"));
}

TEST_F(ImgTnViewTest, LinkIsDescribedByItsTarget) {
    const std::vector<uint8_t> text = {'h', 'i'};
    const std::string target = tmp.write("note.txt", text);
    std::filesystem::create_symlink(target, tmp.path("link"));
    show();
    ASSERT_EQ(list.item(0).name, "link");
    view.makeNextThumb();
    view.drawNextTile();
    EXPECT_EQ(view.tileAt(0)->imageHint(), QString::fromStdString(target));
    EXPECT_TRUE(view.tileAt(0)->drawn());
    EXPECT_EQ(view.tileAt(0)->image().size(), QSize(32, 32));
}

TEST_F(ImgTnViewTest, TakesThumbnailsFromTheFolderCatalog) {
    const std::vector<uint8_t> jpeg = fixtures::encodeJpeg(fixtures::gradientPicture(40, 30));
    testing::VixCatalogBuilder catalog;
    catalog.folder(tmp.path(""));
    catalog.name("only-listed.jpg").size(800, 600, 8).jpeg(jpeg);
    const std::string catalogFile = tmp.write("_CATALOG.VIX", catalog.bytes());
    tmp.write("only-listed.jpg", std::vector<uint8_t>{'n', 'o'});
    view.setUseCatalog(true);
    view.setUseCatalogFirst(true);
    show();
    EXPECT_EQ(view.catalogPath(), catalogFile);
    ASSERT_EQ(list.item(1).name, "only-listed.jpg");
    view.makeNextThumb();
    view.makeNextThumb();
    view.drawNextTile();
    view.drawNextTile();
    EXPECT_EQ(list.item(1).info.kind, GraphicKind::gkVix);
    EXPECT_EQ(view.tileAt(1)->imageHint(), QString("800x600 8bit byViX"));
    EXPECT_EQ(view.tileAt(1)->image().size(), QSize(96, 72));
}

TEST_F(ImgTnViewTest, ScrollingReusesTilesBothWays) {
    showPictures(30);
    std::vector<const ImgTnPanel*> top;
    for (int k = 0; k < view.tileCount(); ++k) {
        top.push_back(view.tileAt(k));
    }
    // Within the same page the tiles only move.
    scrollBarTo(50);
    expectTilesInGrid();
    EXPECT_EQ(view.tileAt(0), top[0]);
    // One row down: the tiles of items 4..15 are kept.
    scrollBarTo(150);
    EXPECT_EQ(view.firstVisible(), 4);
    expectTilesInGrid();
    for (int p = 4; p < 16; ++p) {
        EXPECT_EQ(view.tileAt(p - 4), top[p]) << p;
    }
    EXPECT_FALSE(list.item(0).hasTile);
    EXPECT_TRUE(list.item(19).hasTile);
    // To the end, where the last row is partly filled, and back.
    scrollBarTo(600);
    EXPECT_EQ(view.firstVisible(), 24);
    EXPECT_EQ(view.lastVisible(), 29);
    expectTilesInGrid();
    const ImgTnPanel* last = view.tileAt(5);
    scrollBarTo(450);
    EXPECT_EQ(view.firstVisible(), 16);
    expectTilesInGrid();
    EXPECT_EQ(view.tileAt(29 - 16), last);
    scrollBarTo(0);
    expectTilesInGrid();
    int withTile = 0;
    for (int p = 0; p < 30; ++p) {
        withTile += list.item(p).hasTile ? 1 : 0;
    }
    EXPECT_EQ(withTile, 16);
}

TEST_F(ImgTnViewTest, WheelScrollsSixteenPixelsANotch) {
    showPictures(30);
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &down);
    EXPECT_EQ(view.scrollPosition(), 16);
    EXPECT_EQ(bar()->value(), 16);
    scrollBarTo(5);
    QWheelEvent up(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &up);
    EXPECT_EQ(view.scrollPosition(), 0);
}

TEST_F(ImgTnViewTest, ResizingKeepsTheFirstVisibleRow) {
    showPictures(30);
    view.show();
    scrollBarTo(320);  // row 3: items 12.., 20 pixels up
    view.resize(2 * 100 + barWidth(), 200);
    EXPECT_EQ(view.grid().columns, 2);
    EXPECT_EQ(view.firstVisible(), 12);
    EXPECT_EQ(view.scrollPosition(), 6 * 100 + 20);
    EXPECT_EQ(bar()->value(), 620);
    for (int k = 0; k < view.tileCount(); ++k) {
        EXPECT_EQ(view.tileAt(k)->geometry().topLeft(), QPoint(k % 2 * 100, k / 2 * 100 - 20));
    }
    // Tall enough for everything: back to the top, no bar.
    view.resize(2 * 100 + barWidth(), 1500);
    EXPECT_FALSE(view.scrollBarShown());
    EXPECT_EQ(view.firstVisible(), 0);
    EXPECT_EQ(view.tileCount(), 30);
}

}  // namespace
}  // namespace ravinel
