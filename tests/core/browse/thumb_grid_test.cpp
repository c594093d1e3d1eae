#include "browse/thumb_grid.h"

#include <gtest/gtest.h>

#include "browse/tile_reuse.h"

namespace ravinel {
namespace {

constexpr int32_t kBar = 16;

// Ten 100-pixel tiles, four columns, two full rows in sight.
ThumbGrid tenItems() {
    return thumbGrid(4 * 100 + kBar, 200, kBar, 100, 100, 10);
}

TEST(ThumbGrid, TenItemsInFourColumns) {
    const ThumbGrid grid = tenItems();
    EXPECT_EQ(grid.columns, 4);
    EXPECT_EQ(grid.rows, 4);
    EXPECT_EQ(grid.perPage, 16);
    EXPECT_EQ(grid.contentHeight, 300);
    EXPECT_EQ(grid.maxScroll, 100);
    EXPECT_TRUE(grid.scrolls());
    EXPECT_EQ(grid.largeChange, 200);
}

TEST(ThumbGrid, ReservesTheScrollBarAndKeepsOneColumn) {
    // One pixel short of four tiles once the bar's width is taken off.
    EXPECT_EQ(thumbGrid(4 * 100 + kBar - 1, 200, kBar, 100, 100, 10).columns, 3);
    EXPECT_EQ(thumbGrid(50, 200, kBar, 100, 100, 10).columns, 1);
    EXPECT_EQ(thumbGrid(0, 0, kBar, 100, 100, 10).columns, 1);
    // A list that fits needs no scrolling.
    EXPECT_FALSE(thumbGrid(4 * 100 + kBar, 300, kBar, 100, 100, 10).scrolls());
    EXPECT_FALSE(thumbGrid(4 * 100 + kBar, 300, kBar, 100, 100, 0).scrolls());
}

TEST(ThumbGrid, BrokenTileSizesDoNotDivideByZero) {
    const ThumbGrid grid = thumbGrid(300, 200, kBar, 0, -5, 10);
    EXPECT_GE(grid.columns, 1);
    EXPECT_EQ(gridPageAt(grid, 7, 0, 10).offset, 0);
    EXPECT_EQ(tilePoint(grid, 3, 0, 0, 0).left, 3 % grid.columns);
}

TEST(ThumbGrid, PageOfAScrollPosition) {
    const ThumbGrid grid = thumbGrid(4 * 100 + kBar, 200, kBar, 100, 100, 30);
    EXPECT_EQ(gridPageAt(grid, 0, 100, 30), (GridPage{0, 15, 0}));
    EXPECT_EQ(gridPageAt(grid, 150, 100, 30), (GridPage{4, 19, 50}));
    // The last rows: the page ends with the list, its last row partly filled.
    EXPECT_EQ(gridPageAt(grid, grid.maxScroll, 100, 30), (GridPage{24, 29, 0}));
    EXPECT_EQ(gridPageFrom(grid, 13, 20, 30), (GridPage{12, 27, 20}));
}

TEST(ThumbGrid, TilesStandByColumnAndRowLessTheOffset) {
    const ThumbGrid grid = thumbGrid(4 * 110 + kBar, 200, kBar, 110, 130, 30);
    EXPECT_EQ(tilePoint(grid, 0, 0, 110, 130), (TilePoint{0, 0}));
    EXPECT_EQ(tilePoint(grid, 5, 30, 110, 130), (TilePoint{110, 100}));
    EXPECT_EQ(tilePoint(grid, 3, 30, 110, 130), (TilePoint{330, -30}));
}

TEST(ThumbGrid, RelayoutKeepsTheFirstVisibleItem) {
    // Thirty items, now three columns: ten rows, 1000 high, maxScroll 800.
    const ThumbGrid grid = thumbGrid(3 * 100 + kBar, 200, kBar, 100, 100, 30);
    const RelayoutStart kept = relayoutStart(grid, 200, 100, 8, 250);
    EXPECT_EQ(kept.first, 6);
    EXPECT_EQ(kept.offset, 50);
    EXPECT_EQ(kept.scrollPos, 250);
}

TEST(ThumbGrid, RelayoutPastTheEndShowsTheLastRowsAtTheBottom) {
    // Thirty items in six columns: five rows, 500 high; a view of 250 scrolls 250 at most.
    const ThumbGrid grid = thumbGrid(6 * 100 + kBar, 250, kBar, 100, 100, 30);
    const RelayoutStart end = relayoutStart(grid, 250, 100, 24, 0);
    EXPECT_EQ(end.first, 12);
    EXPECT_EQ(end.offset, 50);
    EXPECT_EQ(end.scrollPos, 250);
    // No scrolling at all: back to the top.
    const ThumbGrid all = thumbGrid(6 * 100 + kBar, 600, kBar, 100, 100, 30);
    EXPECT_EQ(relayoutStart(all, 600, 100, 24, 300), (RelayoutStart{0, 0, 0}));
}

TEST(ThumbGrid, EnsureVisibleScrollsOnlyWhenTheRowIsOutOfSight) {
    const ThumbGrid grid = thumbGrid(4 * 100 + kBar, 200, kBar, 100, 100, 30);
    EXPECT_EQ(ensureVisiblePosition(grid, 29, 30, 200, 100, 0), 600);  // bottom row down
    EXPECT_EQ(ensureVisiblePosition(grid, 9, 30, 200, 100, 0), 100);
    EXPECT_EQ(ensureVisiblePosition(grid, 1, 30, 200, 100, 150), 0);  // row above: to its top
    EXPECT_EQ(ensureVisiblePosition(grid, 5, 30, 200, 100, 0), std::nullopt);
    EXPECT_EQ(ensureVisiblePosition(grid, 30, 30, 200, 100, 0), std::nullopt);
    EXPECT_EQ(ensureVisiblePosition(grid, -1, 30, 200, 100, 0), std::nullopt);
    EXPECT_EQ(ensureVisiblePosition(tenItems(), 9, 3, 200, 100, 0), std::nullopt);
}

TEST(ThumbGrid, ContentPastTheScrollRangeStaysWithinIt) {
    // 100,000 tiles 30,000 high in one column and a view lower than a tile: the content
    // is cut at the largest scroll range, and no position computed leaves it.
    const int32_t h = 30000;
    const ThumbGrid grid = thumbGrid(100, 100, kBar, 50, h, 100000);
    ASSERT_EQ(grid.contentHeight, INT32_MAX);
    EXPECT_EQ(ensureVisiblePosition(grid, 99999, 100000, 100, h, 0), grid.maxScroll);
    EXPECT_EQ(relayoutStart(grid, 100, h, 99999, grid.maxScroll).scrollPos, grid.maxScroll);
}

TEST(TileReuse, TilesStillOnThePageMoveToTheirNewSlots) {
    // Tiles of positions 0..15; the page moves down a row to 4..19.
    std::vector<int32_t> old;
    for (int32_t p = 0; p < 16; ++p) {
        old.push_back(p);
    }
    const std::vector<int32_t> down = reusedTiles(old, 4, 19);
    ASSERT_EQ(down.size(), 16u);
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(down[k], k + 4) << k;
    }
    for (int k = 12; k < 16; ++k) {
        EXPECT_EQ(down[k], -1) << k;
    }
    // Back up from a short page at the end: its tiles are reused beyond its length too.
    const std::vector<int32_t> up = reusedTiles({24, 25, 26, 27, 28, 29}, 20, 29);
    EXPECT_EQ(up, (std::vector<int32_t>{-1, -1, -1, -1, 0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(reusedTiles(old, 5, 4).empty());
}

}  // namespace
}  // namespace ravinel
