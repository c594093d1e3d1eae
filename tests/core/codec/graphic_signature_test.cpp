#include "codec/graphic_signature.h"

#include <gtest/gtest.h>

#include <vector>

namespace ravinel {
namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> values, size_t length = 16) {
    std::vector<uint8_t> out;
    for (int v : values) {
        out.push_back(static_cast<uint8_t>(v));
    }
    out.resize(std::max(length, out.size()), 0);
    return out;
}

TEST(GraphicSignature, RecognisesJfifExifAndPng) {
    EXPECT_EQ(recognizeGraphicSignature(bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F'})),
              GraphicKind::gkJpeg);
    EXPECT_EQ(recognizeGraphicSignature(bytes({0xFF, 0xD8, 0xFF, 0xE1, 9, 9, 'E', 'x', 'i', 'f'})),
              GraphicKind::gkExif);
    EXPECT_EQ(recognizeGraphicSignature(bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})),
              GraphicKind::gkPng);
}

TEST(GraphicSignature, JpegNeedsItsFirstSegmentToMatchTheName) {
    // APP1 carrying "JFIF", APP0 carrying "Exif", and a table first are not recognised.
    EXPECT_EQ(recognizeGraphicSignature(bytes({0xFF, 0xD8, 0xFF, 0xE1, 0, 16, 'J', 'F', 'I', 'F'})),
              GraphicKind::gkNone);
    EXPECT_EQ(recognizeGraphicSignature(bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'E', 'x', 'i', 'f'})),
              GraphicKind::gkNone);
    EXPECT_EQ(recognizeGraphicSignature(bytes({0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0, 0, 0, 0})),
              GraphicKind::gkNone);
    EXPECT_EQ(recognizeGraphicSignature(bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0B})),
              GraphicKind::gkNone);
}

TEST(GraphicSignature, BmpNeedsItsSizeFieldToEqualTheLength) {
    EXPECT_EQ(recognizeGraphicSignature(bytes({'B', 'M', 30, 0, 0, 0}, 30)), GraphicKind::gkBmp);
    EXPECT_EQ(recognizeGraphicSignature(bytes({'B', 'M', 30, 0, 0, 0}, 31)), GraphicKind::gkNone);
    EXPECT_EQ(recognizeGraphicSignature(bytes({'B', 'M', 0x1E, 0, 1, 0}, 30)), GraphicKind::gkNone);
    EXPECT_EQ(recognizeGraphicSignature(bytes({'B', 'M', 0x0E, 0x01, 0, 0}, 270)),
              GraphicKind::gkBmp);
}

TEST(GraphicSignature, FewerThanTenBytesAreNotRecognised) {
    auto jfif = bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F'}, 10);
    EXPECT_EQ(recognizeGraphicSignature(jfif), GraphicKind::gkJpeg);
    jfif.pop_back();
    EXPECT_EQ(recognizeGraphicSignature(jfif), GraphicKind::gkNone);
    EXPECT_EQ(recognizeGraphicSignature(bytes({'B', 'M', 9, 0, 0, 0}, 9)), GraphicKind::gkNone);
    EXPECT_EQ(recognizeGraphicSignature({}), GraphicKind::gkNone);
}

}  // namespace
}  // namespace ravinel
