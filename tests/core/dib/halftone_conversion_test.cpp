#include "dib/halftone_conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "dib/dib_conversions.h"
#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "tests/core/dib/dib_test_pictures.h"
#include "tests/core/dib/halftone_reference.h"
#include "tests/expect_error.h"

namespace ravinel {
namespace {

using testing::colors;
using testing::indices;
using testing::referenceHalftone;

NkDib halftoned(const NkDib& dib, NkDibPixelFormat target) {
    NkDib out = dib;
    out.setPixelFormat(target);
    return out;
}

TEST(HalftoneConversion, MatchesTheReferenceOnRandomPictures) {
    unsigned seed = 1;
    for (const auto& [w, h] :
         {std::pair{1, 1}, std::pair{37, 23}, std::pair{64, 2}, std::pair{5, 41}}) {
        for (bool clustered : {false, true}) {
            const NkDib trueColor = testing::randomPicture(w, h, seed++, clustered);
            // Palette sources: the random colours as 1, 4 and 8-bit pictures.
            std::vector<NkDib> sources{trueColor};
            for (int bits : {1, 4, 8}) {
                const std::vector<RgbQuad> c = colors(trueColor);
                sources.push_back(testing::paletted(
                    bits, w, h, [&](int32_t x, int32_t y) { return (x * 7 + y * 3) % (1 << bits); },
                    [&](int i) { return c[static_cast<size_t>(i) % c.size()]; }));
            }
            for (const NkDib& bottomUp : sources) {
                for (const NkDib& source : {bottomUp, testing::storedTopDown(bottomUp)}) {
                    SCOPED_TRACE(::testing::Message() << w << "x" << h << ", " << source.bitCount()
                                                      << " bits, top-down " << source.isTopDown());
                    const NkDib eight = halftoned(source, NkDibPixelFormat::pf8BitHalftone);
                    EXPECT_EQ(eight.pixelFormat(), NkDibPixelFormat::pf8Bit);
                    EXPECT_EQ(eight.isTopDown(), source.isTopDown());
                    EXPECT_EQ(indices(eight), referenceHalftone(source, false));
                    const NkDib one = halftoned(source, NkDibPixelFormat::pf1BitHalftone);
                    EXPECT_EQ(one.pixelFormat(), NkDibPixelFormat::pf1Bit);
                    EXPECT_EQ(indices(one), referenceHalftone(source, true));
                }
            }
        }
    }
}

TEST(HalftoneConversion, PalettesAreFixed) {
    const NkDib eight =
        halftoned(testing::randomPicture(3, 3, 7, false), NkDibPixelFormat::pf8BitHalftone);
    ASSERT_EQ(eight.paletteSize(), 215);
    const auto p = eight.palette();
    EXPECT_EQ(p[0], (RgbQuad{0, 0, 0, 0}));
    EXPECT_EQ(p[87], (RgbQuad{128, 128, 102, 0}));  // r 2, g 3, b 2
    EXPECT_EQ(p[1 * 35 + 5 * 5 + 3], (RgbQuad{192, 214, 51, 0}));
    EXPECT_EQ(p[209], (RgbQuad{255, 255, 255, 0}));
    EXPECT_EQ(p[210], (RgbQuad{0, 0, 128, 0}));
    EXPECT_EQ(p[211], (RgbQuad{0, 128, 128, 0}));
    EXPECT_EQ(p[212], (RgbQuad{128, 0, 128, 0}));
    EXPECT_EQ(p[213], (RgbQuad{192, 192, 192, 0}));
    EXPECT_EQ(p[214], (RgbQuad{128, 128, 128, 0}));

    const NkDib one =
        halftoned(testing::randomPicture(3, 3, 7, false), NkDibPixelFormat::pf1BitHalftone);
    ASSERT_EQ(one.paletteSize(), 2);
    EXPECT_EQ(one.palette()[0], (RgbQuad{0, 0, 0, 0}));
    EXPECT_EQ(one.palette()[1], (RgbQuad{255, 255, 255, 0}));
}

TEST(HalftoneConversion, GreyAndWhite) {
    const NkDib grey = testing::trueColor(16, 16, [](int32_t, int32_t) { return 0x808080u; });
    const std::vector<int> greyIndices = indices(halftoned(grey, NkDibPixelFormat::pf8BitHalftone));
    EXPECT_EQ(std::count(greyIndices.begin(), greyIndices.end(), 87), 128);
    EXPECT_EQ(std::count(greyIndices.begin(), greyIndices.end(), 122), 128);

    const NkDib white = testing::trueColor(9, 5, [](int32_t, int32_t) { return 0xFFFFFFu; });
    EXPECT_EQ(indices(halftoned(white, NkDibPixelFormat::pf8BitHalftone)),
              std::vector<int>(45, 209));
    EXPECT_EQ(indices(halftoned(white, NkDibPixelFormat::pf1BitHalftone)), std::vector<int>(45, 1));
}

TEST(HalftoneConversion, RunLengthSourcesAreExpandedFirst) {
    NkDib coded = testing::paletted(
        8, 13, 6, [](int32_t x, int32_t y) { return (x / 3 + y) % 40; }, testing::distinct);
    const NkDib plain = coded;
    coded.setPixelFormat(NkDibPixelFormat::pf8BitRle);
    EXPECT_EQ(indices(halftoned(coded, NkDibPixelFormat::pf8BitHalftone)),
              referenceHalftone(plain, false));
    EXPECT_EQ(indices(halftoned(coded, NkDibPixelFormat::pf1BitHalftone)),
              referenceHalftone(plain, true));
}

TEST(HalftoneConversion, RefusesStoresItCannotRead) {
    auto coded = NkInternalDib::createDib(4, 2, 256, 8);
    coded->header.biCompression = kBiRle8;
    testing::expectError<NkDibBadDibTypeError>([&] { convertToHalfTone(*coded); },
                                               "ConvertToHalfTone: Invalid Bit Count");
    testing::expectError<NkDibBadDibTypeError>([&] { convertToHalfToneBW(*coded); },
                                               "ConvertToHalfToneBW: Invalid Bit Count");
}

}  // namespace
}  // namespace ravinel
