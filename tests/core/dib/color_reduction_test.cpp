#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "tests/core/dib/color_reduction_reference.h"
#include "tests/core/dib/dib_test_pictures.h"
#include "tests/expect_error.h"

namespace ravinel {
namespace {

using testing::colors;
using testing::indices;
using F = NkDibPixelFormat;
using Rgb = std::array<int, 3>;
using testing::referenceFast;
using testing::referenceHighQuality;

Rgb rgbOf(const RgbQuad& q) {
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

NkDib reduced(const NkDib& dib, F target, uint8_t mode) {
    NkDib out = dib;
    out.setConvertMode(mode);
    out.setPixelFormat(target);
    return out;
}

TEST(ColorReduction, PalettesFollowTheDivisionOfManyColours) {
    const NkDib picture = testing::randomPicture(61, 47, 11, true);
    const std::vector<RgbQuad> pixels = colors(picture);
    std::set<Rgb> distinct;
    for (const RgbQuad& q : pixels) {
        distinct.insert(rgbOf(q));
    }
    ASSERT_GT(distinct.size(), 256u);
    for (const auto& [target, depth] :
         {std::pair{F::pf8Bit, 8}, std::pair{F::pf4Bit, 4}, std::pair{F::pf1Bit, 1}}) {
        for (uint8_t mode : {NkDib::kConvertFast, NkDib::kConvertHighQuality}) {
            const testing::PaletteReduction e = mode == NkDib::kConvertFast
                                                    ? referenceFast(picture, depth)
                                                    : referenceHighQuality(picture, depth);
            for (const NkDib& source : {picture, testing::storedTopDown(picture)}) {
                SCOPED_TRACE(::testing::Message() << "depth " << depth << ", mode " << int{mode}
                                                  << ", top-down " << source.isTopDown());
                const NkDib out = reduced(source, target, mode);
                EXPECT_EQ(out.pixelFormat(), target);
                EXPECT_EQ(out.isTopDown(), source.isTopDown());
                EXPECT_EQ(std::vector<RgbQuad>(out.palette().begin(), out.palette().end()),
                          e.palette);
                EXPECT_EQ(indices(out), e.indices);
            }
        }
    }
}

TEST(ColorReduction, EachEntryIsTheRoundedMeanOfItsPixels) {
    const NkDib picture = testing::randomPicture(40, 30, 5, true);
    const std::vector<RgbQuad> pixels = colors(picture);
    const NkDib out = reduced(picture, F::pf8Bit, NkDib::kConvertHighQuality);
    const std::vector<int> index = indices(out);
    std::map<int, std::pair<long, std::array<long, 3>>> groups;
    for (size_t i = 0; i < pixels.size(); ++i) {
        auto& [count, sums] = groups[index[i]];
        ++count;
        const Rgb rgb = rgbOf(pixels[i]);
        for (int c = 0; c < 3; ++c) {
            sums[c] += rgb[c];
        }
    }
    EXPECT_EQ(groups.size(), static_cast<size_t>(out.paletteSize()));
    for (const auto& [entry, group] : groups) {
        const auto& [count, sums] = group;
        Rgb mean;
        for (int c = 0; c < 3; ++c) {
            // Halves to even: 2 * sum is an odd multiple of count exactly at a half.
            const long twice = 2 * sums[c];
            const long down = sums[c] / count;
            const bool half = twice % count == 0 && (twice / count) % 2 == 1;
            mean[c] = half ? static_cast<int>(down + down % 2)
                           : static_cast<int>((twice + count) / (2 * count));
        }
        EXPECT_EQ(rgbOf(out.palette()[static_cast<size_t>(entry)]), mean) << entry;
    }
}

TEST(ColorReduction, FewColoursAreKeptExactly) {
    const NkDib one = testing::trueColor(7, 5, [](int32_t, int32_t) { return 0x336699u; });
    const NkDib two = testing::trueColor(
        9, 4, [](int32_t x, int32_t y) { return (x + y) % 3 == 0 ? 0x10E020u : 0x4080FFu; });
    for (uint8_t mode : {NkDib::kConvertFast, NkDib::kConvertHighQuality}) {
        const NkDib oneReduced = reduced(one, F::pf8Bit, mode);
        ASSERT_EQ(oneReduced.paletteSize(), 1);
        EXPECT_EQ(oneReduced.palette()[0], (RgbQuad{0x99, 0x66, 0x33, 0}));
        EXPECT_EQ(colors(oneReduced), colors(one));
        const NkDib twoReduced = reduced(two, F::pf4Bit, mode);
        ASSERT_EQ(twoReduced.paletteSize(), 2);
        EXPECT_EQ(colors(twoReduced), colors(two));
    }
}

TEST(ColorReduction, ReportsProgressUnderTheConversionsText) {
    const NkDib picture = testing::randomPicture(23, 17, 3, false);
    for (const auto& [target, text, total] :
         {std::tuple{F::pf8Bit, "PixelFormat 24Bit -> 8Bit", 256},
          std::tuple{F::pf4Bit, "PixelFormat 24Bit -> 4Bit", 16},
          std::tuple{F::pf8BitRle, "PixelFormat 24Bit -> 8BitRLE", 256},
          std::tuple{F::pf4BitRle, "PixelFormat 24Bit -> 4BitRLE", 16}}) {
        for (uint8_t mode : {NkDib::kConvertFast, NkDib::kConvertHighQuality}) {
            SCOPED_TRACE(text);
            std::vector<std::pair<ProgressStage, int>> events;
            NkDib dib = picture;
            dib.setConvertMode(mode);
            dib.onProgress = [&, text = text, total = total](ProgressStage stage, int position,
                                                             int t, const std::string& message) {
                EXPECT_EQ(message, text);
                EXPECT_EQ(t, total);
                events.emplace_back(stage, position);
            };
            dib.setPixelFormat(target);
            EXPECT_EQ(dib.pixelFormat(), target);
            std::vector<std::pair<ProgressStage, int>> expected{{ProgressStage::Starting, 0}};
            for (int i = 1; i <= total; ++i) {
                expected.emplace_back(ProgressStage::Running, i);
            }
            expected.emplace_back(ProgressStage::Ending, total);
            EXPECT_EQ(events, expected);
        }
    }
    // The halftones and the reduction to 1 bit report nothing.
    for (F target : {F::pf8BitHalftone, F::pf1BitHalftone, F::pf1Bit}) {
        NkDib dib = picture;
        int events = 0;
        dib.onProgress = [&](ProgressStage, int, int, const std::string&) { ++events; };
        dib.setPixelFormat(target);
        EXPECT_EQ(events, 0);
    }
}

TEST(ColorReduction, PaletteSourcesReduceToTheirTwoRepresentativeColours) {
    // Grey levels 0..15 on a 4 and an 8-bit picture: the darker half and the lighter half.
    for (int bits : {4, 8}) {
        const NkDib source = testing::paletted(
            bits, 16, 3, [](int32_t x, int32_t) { return x; },
            [](int i) {
                const auto v = static_cast<uint8_t>(i * 16);
                return RgbQuad{v, v, v, 0};
            });
        const NkDib out = reduced(source, F::pf1Bit, NkDib::kConvertFast);
        const testing::PaletteReduction e = referenceHighQuality(source, 1);
        ASSERT_EQ(e.palette.size(), 2u);
        EXPECT_EQ(std::vector<RgbQuad>(out.palette().begin(), out.palette().end()), e.palette);
        EXPECT_EQ(indices(out), e.indices);
    }
}

TEST(ColorReduction, EveryFormatReachesEveryTarget) {
    // Black and white survive every conversion exactly, halftones included.
    auto pattern = [](int32_t x, int32_t y) { return (x * x + y) % 3 == 0 ? 1 : 0; };
    auto blackWhite = [](int i) {
        return i == 0 ? RgbQuad{} : i == 1 ? RgbQuad{255, 255, 255, 0} : testing::distinct(i);
    };
    std::vector<NkDib> sources;
    for (int bits : {1, 4, 8}) {
        sources.push_back(testing::paletted(bits, 19, 7, pattern, blackWhite));
    }
    sources.push_back(sources[1]);
    sources.back().setPixelFormat(F::pf4BitRle);
    sources.push_back(sources[2]);
    sources.back().setPixelFormat(F::pf8BitRle);
    sources.push_back(sources[2]);
    sources.back().setPixelFormat(F::pf24Bit);
    const std::vector<RgbQuad> expected = colors(sources[0]);
    for (const NkDib& source : sources) {
        for (int t = 0; t <= 7; ++t) {
            for (uint8_t mode : {NkDib::kConvertFast, NkDib::kConvertHighQuality}) {
                SCOPED_TRACE(::testing::Message() << static_cast<int>(source.pixelFormat())
                                                  << " -> " << t << ", mode " << int{mode});
                const auto target = static_cast<F>(t);
                const NkDib out = reduced(source, target, mode);
                EXPECT_EQ(out.pixelFormat(), target == F::pf8BitHalftone   ? F::pf8Bit
                                             : target == F::pf1BitHalftone ? F::pf1Bit
                                                                           : target);
                EXPECT_EQ(colors(out), expected);
            }
        }
    }
}

TEST(ColorReduction, AnUnknownMethodLeavesThePictureAsItWas) {
    NkDib picture = testing::randomPicture(5, 4, 9, false);
    const std::vector<RgbQuad> before = colors(picture);
    int events = 0;
    picture.onProgress = [&](ProgressStage, int, int, const std::string&) { ++events; };
    picture.setConvertMode(2);
    for (F target : {F::pf8Bit, F::pf4Bit, F::pf4BitRle, F::pf1Bit}) {
        testing::expectError<NkDibError>([&] { picture.setPixelFormat(target); },
                                         "TNkIntenalDIB.SetPixelsFormat: PixelFormat Error");
    }
    EXPECT_EQ(events, 0);
    EXPECT_EQ(picture.pixelFormat(), F::pf24Bit);
    EXPECT_EQ(colors(picture), before);
    // The halftones do not use the method.
    picture.setPixelFormat(F::pf8BitHalftone);
    EXPECT_EQ(picture.pixelFormat(), F::pf8Bit);
}

}  // namespace
}  // namespace ravinel
