#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "dib/nk_dib.h"
#include "process/pipeline/g_process.h"
#include "tests/core/dib/color_reduction_reference.h"
#include "tests/core/dib/dib_test_pictures.h"
#include "tests/core/dib/halftone_reference.h"
#include "tests/core/process/area_reference.h"
#include "tests/core/process/filter_reference.h"
#include "tests/core/process/picture.h"

// The whole pipeline against one built from the references alone, for every combination
// of the filter phases, the 3DNow! and dither switches and the colour modes, with the
// area methods. The sources are small so that the full cross stays quick.

namespace ravinel::testing {
namespace {

using Phase = FilterPhase;

constexpr int kNoiseThreshold = 15;
constexpr std::array<Phase, 4> kPhases = {Phase::fpNone, Phase::fpBefore, Phase::fpAfter,
                                          static_cast<Phase>(3)};
constexpr std::array<uint8_t, 7> kColorModes = {0, 1, 2, 3, 4, 5, 200};

// The display picture as compared: its format, palette and pixels (the bytes of a 24-bit
// picture or the palette indices), top row first.
struct Display {
    int width = 0;
    int height = 0;
    NkDibPixelFormat format = NkDibPixelFormat::pf24Bit;
    std::vector<RgbQuad> palette;
    std::vector<int> pixels;
};

Display displayOf(const NkDib& dib) {
    Display d{dib.width(),
              dib.height(),
              dib.pixelFormat(),
              std::vector<RgbQuad>(dib.palette().begin(), dib.palette().end()),
              {}};
    if (dib.bitCount() == 24) {
        const Picture p = toPicture(dib);
        d.pixels.assign(p.bytes.begin(), p.bytes.end());
    } else {
        d.pixels = indices(dib);
    }
    return d;
}

Display trueColorDisplay(const Picture& p) {
    return {p.width,
            p.height,
            NkDibPixelFormat::pf24Bit,
            {},
            std::vector<int>(p.bytes.begin(), p.bytes.end())};
}

// Empty when equal, else where the two first differ.
std::string difference(const Display& got, const Display& want) {
    std::ostringstream out;
    if (got.width != want.width || got.height != want.height) {
        out << "size " << got.width << "x" << got.height << ", wanted " << want.width << "x"
            << want.height;
    } else if (got.format != want.format) {
        out << "pixel format " << static_cast<int>(got.format) << ", wanted "
            << static_cast<int>(want.format);
    } else if (got.palette.size() != want.palette.size()) {
        out << "palette of " << got.palette.size() << " entries, wanted " << want.palette.size();
    } else if (got.palette != want.palette) {
        const auto at = std::mismatch(got.palette.begin(), got.palette.end(), want.palette.begin());
        out << "palette entry " << at.first - got.palette.begin() << " differs";
    } else if (got.pixels != want.pixels) {
        const auto at = std::mismatch(got.pixels.begin(), got.pixels.end(), want.pixels.begin());
        out << "pixel value " << at.first - got.pixels.begin() << " is " << *at.first << ", wanted "
            << *at.second;
    }
    return out.str();
}

struct Options {
    FilterSet active;  // the set of this kind of display
    bool use3DNow = false;
    bool dither = false;
    uint8_t colorMode = 0;
};

Picture referenceFilters(Picture p, const FilterSet& set, Phase phase, bool use3DNow) {
    if (set.noise == phase) {
        // With its correctly rounded reciprocal the packed variant gives the same pixels.
        p = referenceConditionalAverage(p, kNoiseThreshold);
    }
    if (set.normalize == phase) {
        p = referenceNormalize(p, use3DNow ? Arithmetic::packed : Arithmetic::plain);
    }
    if (set.sharp == phase) {
        p = referenceSharpen(p);
    }
    return p;
}

// The 24-bit picture of the display size: only the heights decide whether and how to resize.
Picture referenceResized(const Picture& a, int width, int height, const Options& o) {
    if (a.height == height) {
        return referenceFilters(a, o.active, Phase::fpAfter, o.use3DNow);
    }
    const Picture before = referenceFilters(a, o.active, Phase::fpBefore, o.use3DNow);
    const Picture b = a.height > height ? referenceAreaReduce(before, height, width)
                                        : referenceAreaExpand(before, height, width);
    return referenceFilters(b, o.active, Phase::fpAfter, o.use3DNow);
}

Display referenceColorDepth(const Picture& b, uint8_t colorMode, bool dither) {
    const NkDib held = toDib(b);
    switch (colorMode) {
        case 0:
            return trueColorDisplay(dither ? referenceDither(b) : b);
        case 1:
        case 4: {
            const bool blackAndWhite = colorMode == 4;
            return {b.width, b.height,
                    blackAndWhite ? NkDibPixelFormat::pf1Bit : NkDibPixelFormat::pf8Bit,
                    referenceHalftonePalette(blackAndWhite),
                    referenceHalftone(held, blackAndWhite)};
        }
        case 2:
        case 3: {
            const bool eight = colorMode == 2;
            PaletteReduction r = referenceHighQuality(held, eight ? 8 : 4);
            return {b.width, b.height, eight ? NkDibPixelFormat::pf8Bit : NkDibPixelFormat::pf4Bit,
                    std::move(r.palette), std::move(r.indices)};
        }
        default:
            return trueColorDisplay(b);
    }
}

// Filter sets for the two kinds of display that do not apply; none of them may count.
const std::array<FilterSet, 4> kDecoys = {
    FilterSet{},
    FilterSet{Phase::fpBefore, Phase::fpBefore, Phase::fpBefore},
    FilterSet{Phase::fpAfter, Phase::fpAfter, Phase::fpAfter},
    FilterSet{Phase::fpAfter, Phase::fpBefore, static_cast<Phase>(3)},
};

class PipelineCheck {
  public:
    // a is the source widened to 24 bits, as the references see it.
    PipelineCheck(NkDib source, Picture a, int width, int height)
        : source_(std::move(source)), a_(std::move(a)), width_(width), height_(height) {}

    // Runs the pipeline with these options and the active set in its place, the others
    // set to decoys chosen by the run's number; compares with the reference.
    void check(const Options& o) {
        GProcess process;
        process.source = source_;
        process.destWidth = static_cast<uint16_t>(width_);
        process.destHeight = static_cast<uint16_t>(height_);
        GProcessSettings& s = process.settings;
        s.reductMode = ResizeMethod::area;
        s.expandMode = ResizeMethod::area;
        s.colorMode = modeOfIndex<ColorMode>(o.colorMode);
        s.dither = o.dither;
        s.use3DNow = o.use3DNow;
        const FilterSet& first = kDecoys[runs_ % kDecoys.size()];
        const FilterSet& second = kDecoys[(runs_ / kDecoys.size() + 1) % kDecoys.size()];
        ++runs_;
        FilterSet* sets[3] = {&s.fltInReduct, &s.fltInExpand, &s.fltInOgsize};
        const int activeIndex = a_.height > height_ ? 0 : a_.height < height_ ? 1 : 2;
        *sets[activeIndex] = o.active;
        *sets[(activeIndex + 1) % 3] = first;
        *sets[(activeIndex + 2) % 3] = second;
        process.execute();

        const Display want = referenceColorDepth(resized(o), o.colorMode, o.dither);
        const std::string d = difference(displayOf(process.dest), want);
        EXPECT_EQ(d, "") << "filters " << static_cast<int>(o.active.noise)
                         << static_cast<int>(o.active.normalize) << static_cast<int>(o.active.sharp)
                         << " (noise, normalise, sharpen), "
                         << "3DNow " << o.use3DNow << ", dither " << o.dither << ", colour mode "
                         << int{o.colorMode};
    }

    int runs() const { return runs_; }

  private:
    // The filtered and resized picture depends only on the filters and the arithmetic;
    // kept for the colour modes that follow.
    const Picture& resized(const Options& o) {
        const int key = static_cast<int>(o.active.noise) * 32 +
                        static_cast<int>(o.active.normalize) * 8 +
                        static_cast<int>(o.active.sharp) * 2 + (o.use3DNow ? 1 : 0);
        if (key != cachedKey_) {
            cached_ = referenceResized(a_, width_, height_, o);
            cachedKey_ = key;
        }
        return cached_;
    }

    NkDib source_;
    Picture a_;
    int width_;
    int height_;
    int runs_ = 0;
    int cachedKey_ = -1;
    Picture cached_{0, 0};
};

// Flat patches of colour with a little noise, so that the noise removal finds neighbours
// within its threshold, and some stray pixels of any colour.
Picture patchyPicture(std::mt19937& rng, int width, int height) {
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<int> noise(-7, 7);
    std::uniform_int_distribution<int> percent(0, 99);
    std::array<std::array<int, 3>, 5> patches;
    for (auto& colour : patches) {
        for (int& v : colour) {
            v = any(rng);
        }
    }
    Picture p(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto& colour = patches[static_cast<size_t>((x / 6 + y / 5) % 5)];
            const bool stray = percent(rng) < 8;
            for (int c = 0; c < 3; ++c) {
                p.at(x, y, c) = static_cast<uint8_t>(
                    stray ? any(rng)
                          : std::clamp(colour[static_cast<size_t>(c)] + noise(rng), 0, 255));
            }
        }
    }
    return p;
}

// Every filter combination of the active set (phases 0 to 3 each) crossed with the 3DNow!
// and dither switches and every colour mode.
void checkEveryOption(PipelineCheck& check) {
    for (Phase noise : kPhases) {
        for (Phase normalize : kPhases) {
            for (Phase sharp : kPhases) {
                for (bool use3DNow : {false, true}) {
                    for (uint8_t colorMode : kColorModes) {
                        for (bool dither : {false, true}) {
                            check.check({{noise, normalize, sharp}, use3DNow, dither, colorMode});
                        }
                    }
                }
            }
        }
    }
}

struct Geometry {
    int sourceWidth;
    int sourceHeight;
    int width;
    int height;
};

bool arithmeticsDiffer(const Picture& p) {
    return referenceNormalize(p, Arithmetic::plain) != referenceNormalize(p, Arithmetic::packed);
}

// The seeds are chosen so that the plain and the packed normalisation differ on the source
// and on its resized picture; elsewhere the two rarely part, and the 3DNow! switch would
// go unchecked for the normalisation.
void checkGeometry(const Geometry& g, unsigned seed, bool packedMatters = true) {
    std::mt19937 rng(seed);
    const Picture source = patchyPicture(rng, g.sourceWidth, g.sourceHeight);
    ASSERT_NE(referenceConditionalAverage(source, kNoiseThreshold), source);
    if (packedMatters) {
        ASSERT_TRUE(arithmeticsDiffer(source));
        if (g.sourceHeight != g.height) {
            ASSERT_TRUE(arithmeticsDiffer(g.sourceHeight > g.height
                                              ? referenceAreaReduce(source, g.height, g.width)
                                              : referenceAreaExpand(source, g.height, g.width)));
        }
    }
    PipelineCheck check(toDib(source), source, g.width, g.height);
    checkEveryOption(check);
    EXPECT_EQ(check.runs(), 64 * 2 * 7 * 2);
}

TEST(GProcessReference, ReductionMatchesForEveryOption) {
    checkGeometry({37, 29, 19, 15}, 229);
}

TEST(GProcessReference, EnlargementMatchesForEveryOption) {
    checkGeometry({19, 15, 37, 29}, 12);
}

TEST(GProcessReference, AtTheSourceHeightMatchesForEveryOptionWhateverTheWidth) {
    checkGeometry({23, 17, 31, 17}, 16);
}

// Only the heights decide: a lower but wider display is a reduction, whose widening axis
// the area reduction leaves black.
TEST(GProcessReference, ReductionToAWiderPictureMatches) {
    checkGeometry({17, 29, 25, 21}, 34, false);
}

TEST(GProcessReference, PaletteSourcesAreWidenedFirst) {
    std::mt19937 rng(35);
    const Picture colours = patchyPicture(rng, 16, 16);
    auto colourOf = [&](int i) {
        return RgbQuad{colours.bytes[3 * static_cast<size_t>(i)],
                       colours.bytes[3 * static_cast<size_t>(i) + 1],
                       colours.bytes[3 * static_cast<size_t>(i) + 2], 0};
    };
    auto indexOf = [](int32_t x, int32_t y) { return (x / 4 * 37 + y / 3 * 11 + x * y % 3) % 256; };
    for (const Geometry& g :
         {Geometry{29, 23, 15, 11}, Geometry{15, 11, 29, 23}, Geometry{21, 17, 21, 17}}) {
        const NkDib source = paletted(8, g.sourceWidth, g.sourceHeight, indexOf, colourOf);
        Picture widened(g.sourceWidth, g.sourceHeight);
        for (int y = 0; y < g.sourceHeight; ++y) {
            for (int x = 0; x < g.sourceWidth; ++x) {
                const RgbQuad q = colourOf(indexOf(x, y));
                widened.at(x, y, 0) = q.rgbBlue;
                widened.at(x, y, 1) = q.rgbGreen;
                widened.at(x, y, 2) = q.rgbRed;
            }
        }
        PipelineCheck check(source, widened, g.width, g.height);
        for (const FilterSet& set : {FilterSet{}, kDecoys[1], kDecoys[2], kDecoys[3]}) {
            for (uint8_t colorMode : kColorModes) {
                check.check({set, colorMode % 2 == 0, colorMode % 3 == 0, colorMode});
            }
        }
    }
}

}  // namespace
}  // namespace ravinel::testing
