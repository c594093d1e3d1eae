#include "color/color_converter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "color/color_error.h"
#include "tools/fixtures/icc_profiles.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel {
namespace {

using fixtures::bgrPixels;
using fixtures::convertedByLittleCms;
using fixtures::iccBytes;
using fixtures::TestProfile;

// Width 37: rows padded; photo-like: every level of every channel is met.
NkDib photo() {
    return fixtures::toDib(fixtures::photoLikePicture(37, 23));
}

NkDib grayPhoto() {
    NkDib picture = photo();
    for (int y = 0; y < picture.height(); ++y) {
        uint8_t* row = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            row[x * 3 + 1] = row[x * 3 + 2] = row[x * 3];
        }
    }
    return picture;
}

NkDib palettePicture() {
    NkDib picture;
    picture.setBitCount(8);
    picture.setWidth(9);
    picture.setHeight(4);
    picture.setPaletteSize(200);
    for (int i = 0; i < 200; ++i) {
        picture.setPaletteEntry(i, {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                    static_cast<uint8_t>(i * 7), 0});
    }
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.scanLine(y)[x] = static_cast<uint8_t>(x * 20 + y);
        }
    }
    return picture;
}

std::vector<uint8_t> paletteBgr(const NkDib& picture) {
    std::vector<uint8_t> colors;
    for (const RgbQuad& entry : picture.palette()) {
        colors.insert(colors.end(), {entry.rgbBlue, entry.rgbGreen, entry.rgbRed});
    }
    return colors;
}

std::vector<uint8_t> firstChannel(const std::vector<uint8_t>& bgr) {
    std::vector<uint8_t> levels;
    for (size_t i = 0; i < bgr.size(); i += 3) {
        levels.push_back(bgr[i]);
    }
    return levels;
}

// What Little CMS called directly makes of the picture's colours: its pixels, or its
// colour table.
std::vector<uint8_t> expectedColors(const NkDib& picture, const std::vector<uint8_t>& source,
                                    const std::vector<uint8_t>& target) {
    std::vector<uint8_t> colors =
        picture.bitCount() == 24 ? bgrPixels(picture) : paletteBgr(picture);
    const size_t count = colors.size() / 3;
    if (fixtures::isGrayProfile(source)) {
        colors = firstChannel(colors);
    }
    return convertedByLittleCms(source, target, colors.data(), count);
}

struct ConversionCase {
    const char* name;
    TestProfile source;
    NkDib (*picture)();
    bool displayTarget;  // Adobe RGB as the display's profile, else sRGB
};

TEST(ColorConverterTest, ConvertsAsLittleCmsDoes) {
    const ConversionCase cases[] = {
        {"ProPhoto photo to sRGB", TestProfile::proPhoto, photo, false},
        {"ProPhoto photo to the display", TestProfile::proPhoto, photo, true},
        {"Adobe RGB palette", TestProfile::adobeRgb, palettePicture, false},
        {"near sRGB is not sRGB", TestProfile::srgbGamma22, photo, false},
        {"a few levels from sRGB is not sRGB", TestProfile::srgbShifted, photo, false},
        {"grey photo", TestProfile::gray10, grayPhoto, false},
        {"grey palette", TestProfile::gray10,
         [] {
             NkDib picture = palettePicture();
             for (int i = 0; i < picture.paletteSize(); ++i) {
                 const auto level = static_cast<uint8_t>(i);
                 picture.setPaletteEntry(i, {level, level, level, 0});
             }
             return picture;
         },
         true},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> source = iccBytes(c.source);
        const std::vector<uint8_t> target =
            c.displayTarget ? iccBytes(TestProfile::adobeRgb) : std::vector<uint8_t>{};
        const ColorConverter converter =
            c.displayTarget ? ColorConverter(target) : ColorConverter();
        const NkDib original = c.picture();
        NkDib picture = original;
        ASSERT_TRUE(converter.convert(picture, source));
        EXPECT_FALSE(picture.sharesStoreWith(original));  // the caller's copy keeps its colours
        const std::vector<uint8_t> expected = expectedColors(original, source, target);
        if (original.bitCount() == 24) {
            EXPECT_EQ(bgrPixels(picture), expected);
            EXPECT_NE(bgrPixels(picture), bgrPixels(original));
        } else {
            EXPECT_EQ(paletteBgr(picture), expected);
            EXPECT_EQ(
                std::vector<uint8_t>(picture.pixelBlock().begin(), picture.pixelBlock().end()),
                std::vector<uint8_t>(original.pixelBlock().begin(), original.pixelBlock().end()));
        }
    }
}

// Profiles that say nothing new about the colours, and those that cannot be used: the
// pixels stay byte for byte, also for a display profile as the target.
TEST(ColorConverterTest, LeavesPicturesItCannotOrNeedNotConvert) {
    std::vector<uint8_t> truncated = iccBytes(TestProfile::proPhoto);
    truncated.resize(truncated.size() / 2);
    std::vector<uint8_t> huge = iccBytes(TestProfile::proPhoto);
    huge.resize(kMaxIccProfileBytes + 1, 0);
    std::vector<uint8_t> garbage(600);
    for (size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<uint8_t>(i * 37 + 11);
    }
    const struct {
        const char* name;
        std::vector<uint8_t> profile;
        NkDib picture;
    } cases[] = {
        {"no profile", {}, photo()},
        {"sRGB", iccBytes(TestProfile::srgb), photo()},
        {"sRGB with a tabulated curve", iccBytes(TestProfile::srgbTabulated), palettePicture()},
        {"sRGB within a level", iccBytes(TestProfile::srgbRounded), photo()},
        {"Lab", iccBytes(TestProfile::lab), photo()},
        {"grey profile of a colour photo", iccBytes(TestProfile::gray10), photo()},
        {"grey profile of a colour palette", iccBytes(TestProfile::gray10), palettePicture()},
        {"truncated", truncated, photo()},
        {"over the size limit", huge, photo()},
        {"not a profile", garbage, photo()},
    };
    const ColorConverter toSrgb;
    const ColorConverter toDisplay(iccBytes(TestProfile::adobeRgb));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const ColorConverter* converter : {&toSrgb, &toDisplay}) {
            NkDib picture = c.picture;
            EXPECT_FALSE(converter->convert(picture, c.profile));
            EXPECT_TRUE(picture.sharesStoreWith(c.picture));
        }
    }
}

TEST(ColorConverterTest, RefusesTargetsThatAreNoRgbProfile) {
    for (const std::vector<uint8_t>& target :
         {iccBytes(TestProfile::gray10), iccBytes(TestProfile::lab),
          std::vector<uint8_t>(200, 7)}) {
        EXPECT_THROW(ColorConverter{target}, ColorProfileError);
    }
}

}  // namespace
}  // namespace ravinel
