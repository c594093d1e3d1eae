#pragma once

#include <cstdint>
#include <optional>

namespace ravinel {

// The grid of the thumbnail view in pixels: how many tiles a row holds, which tiles exist
// for a scroll position and where each stands. Tile sizes below 1 count as 1, so a broken
// configuration never divides by zero.
struct ThumbGrid {
    int32_t columns = 1;        // tiles per row, at least 1
    int32_t rows = 2;           // rows of a page: the visible rows plus two
    int32_t perPage = 2;        // columns x rows: the most tiles that exist at once
    int32_t contentHeight = 0;  // all rows of the list
    int32_t maxScroll = 0;      // greatest scroll position; below 1: no scrolling
    int32_t largeChange = 0;    // what a page step of the scroll bar moves

    bool scrolls() const { return maxScroll >= 1; }
};

// The grid of count tiles of panelW x panelH in a view of viewWidth x viewHeight. The
// width of the vertical scroll bar is reserved whether or not the bar is shown.
ThumbGrid thumbGrid(int32_t viewWidth, int32_t viewHeight, int32_t scrollBarWidth, int32_t panelW,
                    int32_t panelH, int32_t count);

// The tiles that exist at one scroll position: list positions first..last (last < first
// when there are none) and how far the first row is pushed up out of sight.
struct GridPage {
    int32_t first = 0;
    int32_t last = -1;
    int32_t offset = 0;

    friend bool operator==(const GridPage&, const GridPage&) = default;
};

// The page for scroll position pos.
GridPage gridPageAt(const ThumbGrid& grid, int32_t pos, int32_t panelH, int32_t count);
// The page that starts with the row of first (rounded down to its row) with that offset.
GridPage gridPageFrom(const ThumbGrid& grid, int32_t first, int32_t offset, int32_t count);

// The top-left corner of tile k of a page, in view coordinates.
struct TilePoint {
    int32_t left = 0;
    int32_t top = 0;
    friend bool operator==(const TilePoint&, const TilePoint&) = default;
};
TilePoint tilePoint(const ThumbGrid& grid, int32_t k, int32_t offset, int32_t panelW,
                    int32_t panelH);

// Where a resized view continues: it keeps the first visible item in view unless the
// list now ends above it, then it shows the last reachable row at the bottom.
struct RelayoutStart {
    int32_t first = 0;      // list position of the first tile (the start of its row)
    int32_t offset = 0;     // as in GridPage
    int32_t scrollPos = 0;  // the new scroll position
    friend bool operator==(const RelayoutStart&, const RelayoutStart&) = default;
};
RelayoutStart relayoutStart(const ThumbGrid& grid, int32_t viewHeight, int32_t panelH,
                            int32_t firstVisible, int32_t scrollPos);

// The scroll position that brings the row of item index into view, or nothing when it is
// already seen (or index is no item).
std::optional<int32_t> ensureVisiblePosition(const ThumbGrid& grid, int32_t index, int32_t count,
                                             int32_t viewHeight, int32_t panelH, int32_t scrollPos);

}  // namespace ravinel
