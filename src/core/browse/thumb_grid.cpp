#include "browse/thumb_grid.h"

#include <algorithm>

namespace ravinel {

namespace {

int32_t atLeastOne(int32_t value) {
    return std::max(value, 1);
}

}  // namespace

ThumbGrid thumbGrid(int32_t viewWidth, int32_t viewHeight, int32_t scrollBarWidth, int32_t panelW,
                    int32_t panelH, int32_t count) {
    const int32_t w = atLeastOne(panelW);
    const int32_t h = atLeastOne(panelH);
    const int32_t height = std::max(viewHeight, 0);
    ThumbGrid grid;
    grid.columns = atLeastOne((viewWidth - scrollBarWidth) / w);
    grid.rows = height / h + 2;
    grid.perPage = grid.columns * grid.rows;
    const int64_t rowCount = (std::max(count, 0) + grid.columns - 1) / grid.columns;
    grid.contentHeight = static_cast<int32_t>(std::min<int64_t>(rowCount * h, INT32_MAX));
    grid.maxScroll = grid.contentHeight - height;
    grid.largeChange = (grid.rows - 2) * h;
    return grid;
}

GridPage gridPageFrom(const ThumbGrid& grid, int32_t first, int32_t offset, int32_t count) {
    GridPage page;
    page.first = std::max(first, 0) / grid.columns * grid.columns;
    page.offset = offset;
    page.last = std::min<int64_t>(static_cast<int64_t>(page.first) + grid.perPage, count) - 1;
    return page;
}

GridPage gridPageAt(const ThumbGrid& grid, int32_t pos, int32_t panelH, int32_t count) {
    const int32_t h = atLeastOne(panelH);
    const int32_t p = std::max(pos, 0);
    return gridPageFrom(grid, p / h * grid.columns, p % h, count);
}

TilePoint tilePoint(const ThumbGrid& grid, int32_t k, int32_t offset, int32_t panelW,
                    int32_t panelH) {
    return {k % grid.columns * atLeastOne(panelW), k / grid.columns * atLeastOne(panelH) - offset};
}

RelayoutStart relayoutStart(const ThumbGrid& grid, int32_t viewHeight, int32_t panelH,
                            int32_t firstVisible, int32_t scrollPos) {
    if (!grid.scrolls()) {
        return {};
    }
    const int32_t h = atLeastOne(panelH);
    int32_t t = grid.maxScroll / h * grid.columns;
    RelayoutStart start;
    if (t > firstVisible) {
        t = std::max(firstVisible, 0);
        start.offset = std::max(scrollPos, 0) % h;
    } else {
        start.offset = (h - std::max(viewHeight, 0) % h) % h;
    }
    start.first = t / grid.columns * grid.columns;
    // In 64 bits: a view lower than one tile may add an offset past the last position.
    start.scrollPos = static_cast<int32_t>(
        std::min<int64_t>(grid.maxScroll, int64_t{start.first / grid.columns} * h + start.offset));
    return start;
}

std::optional<int32_t> ensureVisiblePosition(const ThumbGrid& grid, int32_t index, int32_t count,
                                             int32_t viewHeight, int32_t panelH,
                                             int32_t scrollPos) {
    if (!grid.scrolls() || index < 0 || index >= count) {
        return std::nullopt;
    }
    const int32_t h = atLeastOne(panelH);
    // In 64 bits: rows past the content height the scroll range is cut at lie beyond it.
    const int64_t top = int64_t{index / grid.columns} * h;
    if (top < scrollPos) {
        return static_cast<int32_t>(top);
    }
    const int64_t bottom = top - viewHeight + h;
    if (bottom >= 0 && bottom > scrollPos) {
        return static_cast<int32_t>(std::min<int64_t>(bottom, grid.maxScroll));
    }
    return std::nullopt;
}

}  // namespace ravinel
