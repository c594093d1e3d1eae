#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "process/resample/area_passes.h"
#include "process/resample/g_resize.h"
#include "tests/core/process/picture.h"
#include "tests/every_path.h"

namespace ravinel::testing {
namespace {

using AreaPass = void (*)(NkDib& dest, const NkDib& src, uint16_t size);

struct PassCase {
    const char* name;
    AreaPass pass;
    bool horizontal;
    bool reduces;
};

const PassCase kPasses[] = {{"areaReduceH", areaReduceH, true, true},
                            {"areaReduceV", areaReduceV, false, true},
                            {"areaExpandH", areaExpandH, true, false},
                            {"areaExpandV", areaExpandV, false, false}};

std::string sizeName(const Picture& src) {
    return std::to_string(src.width) + "x" + std::to_string(src.height);
}

// The pass's result on every path, which must all agree.
Picture passOnEveryPath(const PassCase& pass, const Picture& src, int length) {
    const NkDib source = toDib(src);
    const int width = pass.horizontal ? length : src.width;
    const int height = pass.horizontal ? src.height : length;
    return expectSameResultOnEveryPath(
        [&] {
            NkDib dest = toDib(Picture(width, height));
            pass.pass(dest, source, static_cast<uint16_t>(length));
            return toPicture(dest);
        },
        std::string(pass.name) + " " + sizeName(src) + " to " + std::to_string(length));
}

// Lengths a pass from n is worth trying at: 1, integer ratios, ratios near 1, odd ones.
std::vector<int> lengthsFrom(int n, bool reduces) {
    std::vector<int> lengths;
    if (reduces) {
        lengths = {1, 2, n / 4, n / 3, n / 2, (n + 1) / 2, (2 * n) / 3, n - 2, n - 1, n};
    } else {
        lengths = {n, n + 1, n + 2, 2 * n, 2 * n + 1, 3 * n - 1, 5 * n + 3, 16 * n + 7};
    }
    std::erase_if(lengths, [&](int length) {
        return length < 1 || (reduces ? length > n : length < n) || length > 65535;
    });
    std::sort(lengths.begin(), lengths.end());
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    return lengths;
}

Picture randomAlong(std::mt19937& rng, const PassCase& pass, int along, int across) {
    return pass.horizontal ? randomPicture(rng, along, across) : randomPicture(rng, across, along);
}

// Lengths 1 to 67 along the pass's axis. Across it: odd and even row counts for the
// horizontal passes (which pair rows), rows below, at and beyond one vector for the
// vertical ones.
TEST(AreaPaths, SmallPicturesAgreeOnEveryPath) {
    std::mt19937 rng(11);
    for (const PassCase& pass : kPasses) {
        const std::vector<int> acrossSizes =
            pass.horizontal ? std::vector<int>{1, 2, 5} : std::vector<int>{1, 6, 13, 67};
        for (int along = 1; along <= 67; ++along) {
            for (const int across : acrossSizes) {
                const Picture src = randomAlong(rng, pass, along, across);
                for (const int length : lengthsFrom(along, pass.reduces)) {
                    passOnEveryPath(pass, src, length);
                }
            }
        }
    }
}

TEST(AreaPaths, LargePicturesAgreeOnEveryPath) {
    std::mt19937 rng(12);
    for (const PassCase& pass : kPasses) {
        for (const auto& [along, across] : std::vector<std::pair<int, int>>{{4000, 3}, {1283, 7}}) {
            const Picture src = randomAlong(rng, pass, along, across);
            std::vector<int> lengths = lengthsFrom(along, pass.reduces);
            if (pass.reduces) {
                lengths.insert(lengths.end(), {1274, 7, 13, 1001});
            }
            for (const int length : lengths) {
                if (pass.reduces ? length <= along : length <= 65535) {
                    passOnEveryPath(pass, src, length);
                }
            }
        }
    }
}

// Pictures of more than 1 MB, which the passes split into bands over the threads; odd
// sizes put the band boundaries anywhere.
TEST(AreaPaths, PicturesSplitIntoBandsAgreeOnEveryPath) {
    std::mt19937 rng(15);
    const Picture square = randomPicture(rng, 700, 701);
    for (const PassCase& pass : kPasses) {
        const std::vector<int> lengths =
            pass.reduces ? std::vector<int>{233, 350, 699} : std::vector<int>{701, 1403};
        for (const int length : lengths) {
            passOnEveryPath(pass, square, length);
        }
    }
}

// Reductions switch to 64-bit sums from 514 source pixels on for one destination pixel,
// 1027 for two, 1540 for three, 5131 for ten.
TEST(AreaPaths, ReductionsAgreeWhereTheSumsWiden) {
    std::mt19937 rng(13);
    for (const PassCase& pass : kPasses) {
        if (!pass.reduces) {
            continue;
        }
        for (const auto& [along, length] : std::vector<std::pair<int, int>>{{513, 1},
                                                                            {514, 1},
                                                                            {1026, 2},
                                                                            {1027, 2},
                                                                            {1539, 3},
                                                                            {1540, 3},
                                                                            {5130, 10},
                                                                            {5131, 10},
                                                                            {2000, 3},
                                                                            {600, 599}}) {
            passOnEveryPath(pass, randomAlong(rng, pass, along, 35), length);
        }
    }
}

TEST(AreaPaths, UniformPicturesAgreeOnEveryPath) {
    for (const PassCase& pass : kPasses) {
        for (const uint8_t value : {uint8_t{0}, uint8_t{1}, uint8_t{254}, uint8_t{255}}) {
            const Picture src(pass.horizontal ? 97 : 41, pass.horizontal ? 41 : 97, value);
            for (const int length : lengthsFrom(97, pass.reduces)) {
                const Picture result = passOnEveryPath(pass, src, length);
                EXPECT_TRUE(std::all_of(result.bytes.begin(), result.bytes.end(),
                                        [&](uint8_t b) { return b == value; }))
                    << pass.name << " of " << int{value} << " to " << length;
            }
        }
    }
}

TEST(AreaPaths, WholeResizesAgreeOnEveryPath) {
    std::mt19937 rng(14);
    for (int round = 0; round < 40; ++round) {
        std::uniform_int_distribution<int> side(1, 150);
        const Picture src = randomPicture(rng, side(rng), side(rng));
        const int dw = std::uniform_int_distribution<int>(1, src.width)(rng);
        const int dh = std::uniform_int_distribution<int>(1, src.height)(rng);
        expectSameResultOnEveryPath([&] { return resized(areaReduce, src, dh, dw); },
                                    "areaReduce " + sizeName(src));
        const int ew = std::uniform_int_distribution<int>(src.width, 3 * src.width)(rng);
        const int eh = std::uniform_int_distribution<int>(src.height, 3 * src.height)(rng);
        expectSameResultOnEveryPath([&] { return resized(areaExpand, src, eh, ew); },
                                    "areaExpand " + sizeName(src));
    }
    const Picture photo = randomPicture(rng, 1000, 750);
    expectSameResultOnEveryPath([&] { return resized(areaReduce, photo, 319, 401); },
                                "areaReduce 1000x750");
    const Picture small = randomPicture(rng, 300, 200);
    expectSameResultOnEveryPath([&] { return resized(areaExpand, small, 451, 677); },
                                "areaExpand 300x200");
}

}  // namespace
}  // namespace ravinel::testing
