#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "tests/bmp_builder.h"
#include "tests/expect_error.h"

namespace ravinel {
namespace {

using testing::BmpBuilder;
using testing::expectError;
using testing::greyPalette;

std::vector<uint8_t> row(const std::vector<uint8_t>& bytes) {
    return bytes;
}

std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// An 8-bit 3 x 2 picture, bottom row first in the file: top row 1 2 3, bottom 4 5 6.
BmpBuilder small8Bit() {
    BmpBuilder b;
    b.width = 3;
    b.height = 2;
    b.bitCount = 8;
    b.clrUsed = 8;
    b.palette = greyPalette(8);
    b.pixels = concat({row({4, 5, 6, 0}), row({1, 2, 3, 0})});
    return b;
}

NkDib load(const BmpBuilder& b) {
    NkDib dib;
    dib.loadFromStream(b.file());
    return dib;
}

TEST(NkDibBmpRead, EachPaletteDepthKeepsRowsAndPalette) {
    {
        BmpBuilder b;  // 1 bit, 10 x 2: two bytes of pixels per row
        b.width = 10;
        b.height = 2;
        b.bitCount = 1;
        b.palette = {RgbQuad{0, 0, 0, 0}, RgbQuad{255, 255, 255, 0}};
        b.pixels = concat({row({0xA5, 0x40, 0, 0}), row({0xFF, 0xC0, 0, 0})});
        NkDib dib = load(b);
        EXPECT_EQ(dib.pixelFormat(), NkDibPixelFormat::pf1Bit);
        EXPECT_EQ(dib.paletteSize(), 2);  // biClrUsed 0 means 2^bits
        EXPECT_EQ(dib.palette()[1], (RgbQuad{255, 255, 255, 0}));
        EXPECT_EQ(dib.constScanLine(0)[0], 0xFF);
        EXPECT_EQ(dib.constScanLine(1)[0], 0xA5);
        EXPECT_EQ(dib.constScanLine(1)[1], 0x40);
    }
    {
        BmpBuilder b;  // 4 bit, 3 x 1
        b.width = 3;
        b.bitCount = 4;
        b.palette = greyPalette(16);
        b.pixels = {0x12, 0x30, 0, 0};
        NkDib dib = load(b);
        EXPECT_EQ(dib.pixelFormat(), NkDibPixelFormat::pf4Bit);
        EXPECT_EQ(dib.paletteSize(), 16);
        EXPECT_EQ(dib.constScanLine(0)[1], 0x30);
    }
    {
        NkDib dib = load(small8Bit());
        EXPECT_EQ(dib.pixelFormat(), NkDibPixelFormat::pf8Bit);
        EXPECT_EQ(dib.width(), 3);
        EXPECT_EQ(dib.height(), 2);
        EXPECT_EQ(dib.paletteSize(), 8);
        EXPECT_EQ(dib.palette()[7], (RgbQuad{7, 7, 7, 0}));
        EXPECT_EQ(dib.constScanLine(0)[0], 1);  // the top row is the last in the file
        EXPECT_EQ(dib.constScanLine(1)[2], 6);
        EXPECT_EQ(dib.header().biXPelsPerMeter, 2835);
    }
    {
        BmpBuilder b;  // 24 bit, 2 x 1
        b.width = 2;
        b.bitCount = 24;
        b.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
        b.pelsPerMeter = 0;
        NkDib dib = load(b);
        EXPECT_EQ(dib.pixelFormat(), NkDibPixelFormat::pf24Bit);
        EXPECT_EQ(dib.paletteSize(), 0);
        EXPECT_EQ(dib.constScanLine(0)[5], 6);
        EXPECT_EQ(dib.header().biXPelsPerMeter, 3780);  // zero resolution becomes 3780
        EXPECT_EQ(dib.header().biYPelsPerMeter, 3780);
    }
}

TEST(NkDibBmpRead, TopDownRowZeroIsTheFirstRowOfTheBlock) {
    BmpBuilder b = small8Bit();
    b.height = -2;
    NkDib dib = load(b);
    EXPECT_TRUE(dib.isTopDown());
    EXPECT_EQ(dib.height(), 2);
    EXPECT_EQ(dib.constScanLine(0), dib.pixelBlock().data());
    EXPECT_EQ(dib.constScanLine(0)[0], 4);
    EXPECT_EQ(dib.constScanLine(1)[0], 1);
}

TEST(NkDibBmpRead, CoreHeaderBecomesAnInfoHeader) {
    BmpBuilder b;
    b.headerSize = 12;
    b.width = 2;
    b.height = 2;
    b.bitCount = 4;
    b.palette = greyPalette(16);
    b.palette[9] = RgbQuad{10, 20, 30, 0};
    b.pixels = concat({row({0x9F, 0, 0, 0}), row({0x12, 0, 0, 0})});
    NkDib dib = load(b);
    EXPECT_EQ(dib.header().biSize, 40u);
    EXPECT_EQ(dib.header().biCompression, 0u);
    EXPECT_EQ(dib.header().biXPelsPerMeter, 3780);
    EXPECT_EQ(dib.paletteSize(), 16);
    EXPECT_EQ(dib.palette()[9], (RgbQuad{10, 20, 30, 0}));
    EXPECT_EQ(dib.constScanLine(0)[0], 0x12);
    EXPECT_EQ(dib.constScanLine(1)[0], 0x9F);
}

// Bytes of 16-bit pixels, little-endian.
std::vector<uint8_t> pixels16(std::initializer_list<uint16_t> values) {
    std::vector<uint8_t> out;
    for (uint16_t v : values) {
        BmpBuilder::put16(out, v);
    }
    while (out.size() % 4 != 0) {
        out.push_back(0);
    }
    return out;
}

TEST(NkDibBmpRead, SixteenBitPixelsSpreadToTwentyFourBits) {
    BmpBuilder b;
    b.width = 3;
    b.bitCount = 16;
    // 5-5-5: white, pure blue at full and at half level (16 of 31).
    b.pixels = pixels16({0x7FFF, 0x001F, 0x0010});
    NkDib dib = load(b);
    EXPECT_EQ(dib.pixelFormat(), NkDibPixelFormat::pf24Bit);
    const uint8_t* p = dib.constScanLine(0);
    EXPECT_EQ(std::vector<uint8_t>(p, p + 9),
              (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 128 * 255 / 248, 0, 0}));

    // 5-6-5 with bit fields: red, full green, the lowest green step.
    b.compression = kBiBitfields;
    b.masks = {0xF800, 0x07E0, 0x001F};
    b.pixels = pixels16({0xF800, 0x07E0, 0x0020});
    dib = load(b);
    p = dib.constScanLine(0);
    EXPECT_EQ(std::vector<uint8_t>(p, p + 9),
              (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 0, 4 * 255 / 252, 0}));
    EXPECT_EQ(dib.header().biCompression, 0u);

    b.masks = {0xF800, 0, 0x001F};
    expectError<NkDibInvalidDibError>([&] { load(b); },
                                      "TNkInternalDIB.LoadFromStream: Invalid Masks");
}

TEST(NkDibBmpRead, ThirtyTwoBitPixelsKeepTheirBytes) {
    BmpBuilder b;
    b.width = 2;
    b.height = -1;
    b.bitCount = 32;
    b.pixels = {10, 20, 30, 99, 40, 50, 60, 99};
    NkDib dib = load(b);
    const uint8_t* p = dib.constScanLine(0);
    EXPECT_EQ(std::vector<uint8_t>(p, p + 8), (std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 0, 0}));
    // Bit fields in the other order put the bytes where they say.
    b.compression = kBiBitfields;
    b.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    dib = load(b);
    p = dib.constScanLine(0);
    EXPECT_EQ(std::vector<uint8_t>(p, p + 6), (std::vector<uint8_t>{30, 20, 10, 60, 50, 40}));
}

TEST(NkDibBmpRead, LongColourTablesKeepTheFirst256Entries) {
    BmpBuilder b = small8Bit();
    b.clrUsed = 300;
    b.palette = greyPalette(300);  // entries 256.. wrap to (0,0,0) and on
    b.palette[255] = RgbQuad{1, 2, 3, 0};
    NkDib dib = load(b);
    EXPECT_EQ(dib.paletteSize(), 256);
    EXPECT_EQ(dib.palette()[255], (RgbQuad{1, 2, 3, 0}));
    EXPECT_EQ(dib.constScanLine(0)[0], 1);  // the pixels come after all 300 entries
}

TEST(NkDibBmpRead, MalformedHeadersRaiseTheirMessages) {
    struct Case {
        const char* what;
        void (*spoil)(BmpBuilder&);
        const char* message;
    };
    const Case cases[] = {
        {"file type", [](BmpBuilder& b) { b.fileType = 0x4D43; },
         "TNkInternalDIB.LoadFromFile: File type is invalid"},
        {"header size", [](BmpBuilder& b) { b.headerSize = 64; },
         "TNkInternalDIB.LoadFromStream: Invalid Bitmap Header Size"},
        {"bit count", [](BmpBuilder& b) { b.bitCount = 2; },
         "TNkInternalDIB.LoadFromStream: Invalid BitCout"},
        {"core bit count",
         [](BmpBuilder& b) {
             b.headerSize = 12;
             b.bitCount = 16;
         },
         "TNkInternalDIB.LoadFromStream: Invalid BitCount"},
        {"width", [](BmpBuilder& b) { b.width = 0; },
         "TNkInternalDIB.LoadFromStream: Invalid Width or Height"},
        {"height", [](BmpBuilder& b) { b.height = 0; },
         "TNkInternalDIB.LoadFromStream: Invalid Width or Height"},
        {"bfOffBits inside the table", [](BmpBuilder& b) { b.bfOffBits = 14 + 40 + 4 * 7; },
         "TNkInternalDIB.LoadFromFile: bfOffBits is too small"},
        {"bfSize shorter than the rows", [](BmpBuilder& b) { b.bfSize = 14 + 40 + 32 + 7; },
         "TNkInternalDIB.LoadFromFile: Pixel data is too short"},
        {"bfSize before bfOffBits", [](BmpBuilder& b) { b.bfSize = 20; },
         "TNkInternalDIB.LoadFromFile: bfSize is too small"},
        {"bit fields on 8 bits",
         [](BmpBuilder& b) {
             b.compression = kBiBitfields;
             b.masks = {0xF800, 0x07E0, 0x001F};
         },
         "TNkInternalDIB.GetPixelFormat: Invalid DIB(8Bit)"},
        {"top-down run-length data",
         [](BmpBuilder& b) {
             b.compression = kBiRle8;
             b.height = -2;
         },
         "TNkInternalDIB.LoadFromStream: Run-length coded data cannot be top-down"},
        {"absurd size", [](BmpBuilder& b) { b.width = b.height = 100000; },
         "TNkInternalDIB.LoadFromStream: Picture is too large"},
        {"most negative height", [](BmpBuilder& b) { b.height = INT32_MIN; },
         "TNkInternalDIB.LoadFromStream: Picture is too large"},
        {"widest picture", [](BmpBuilder& b) { b.width = INT32_MAX; },
         "TNkInternalDIB.LoadFromStream: Picture is too large"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BmpBuilder b = small8Bit();
        c.spoil(b);
        expectError<NkDibError>([&] { load(b); }, c.message);
    }
}

TEST(NkDibBmpRead, CoreHeaderOffsetsCountThreeByteEntries) {
    BmpBuilder b;
    b.headerSize = 12;
    b.bitCount = 1;
    b.palette = greyPalette(2);
    b.pixels = {0x80, 0, 0, 0};
    EXPECT_NO_THROW(load(b));  // bfOffBits 14 + 12 + 6
    b.bfOffBits = 14 + 12 + 5;
    expectError<NkDibInvalidDibFileError>([&] { load(b); },
                                          "TNkInternalDIB.LoadFromFile: bfOffBits is too small");
}

TEST(NkDibBmpRead, PlainRowsAreExactlyWhatTheScanLinesNeed) {
    BmpBuilder b = small8Bit();
    b.pixels.resize(b.pixels.size() + 100, 0xEE);  // data beyond the rows
    NkDib dib = load(b);
    EXPECT_EQ(dib.pixelBlock().size(), 8u);
    // A bfSize claiming more than the file holds does not matter while the rows are there.
    b = small8Bit();
    b.bfSize = 1u << 30;
    dib = load(b);
    EXPECT_EQ(dib.pixelBlock().size(), 8u);
    EXPECT_EQ(dib.constScanLine(1)[2], 6);
}

TEST(NkDibBmpRead, EveryTruncationIsRefusedAndKeepsThePicture) {
    std::vector<BmpBuilder> files{small8Bit()};
    BmpBuilder coded = small8Bit();
    coded.compression = kBiRle8;
    coded.pixels = {3, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};
    files.push_back(coded);
    BmpBuilder masked;
    masked.bitCount = 16;
    masked.compression = kBiBitfields;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.pixels = pixels16({0x1234});
    files.push_back(masked);

    NkDib dib;
    dib.loadFromStream(masked.file());
    const std::vector<uint8_t> before = dib.saveToStream();
    for (const BmpBuilder& b : files) {
        const std::vector<uint8_t> whole = b.file();
        NkDib check;
        ASSERT_NO_THROW(check.loadFromStream(whole));
        for (size_t n = 0; n < whole.size(); ++n) {
            SCOPED_TRACE(n);
            EXPECT_THROW(dib.loadFromStream(std::span(whole).first(n)), NkDibError);
        }
    }
    EXPECT_EQ(dib.saveToStream(), before);
    expectError<NkDibInvalidDibFileError>(
        [&] {
            dib.loadFromStream(std::vector<uint8_t>{'B', 'M', 0});
        },
        "TNkInternalDIB.LoadFromStream: Stream read error");
}

TEST(NkDibBmpRead, DamagedFilesFailCleanlyOrLoadUsablePictures) {
    BmpBuilder coded = small8Bit();
    coded.compression = kBiRle8;
    coded.pixels = {3, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};
    BmpBuilder masked;
    masked.width = 3;
    masked.bitCount = 32;
    masked.compression = kBiBitfields;
    masked.masks = {0xFF0000, 0xFF00, 0xFF};
    masked.pixels.assign(12, 0x5A);
    std::mt19937 rng(7);
    int loaded = 0;
    for (const BmpBuilder& b : {small8Bit(), coded, masked}) {
        const std::vector<uint8_t> whole = b.file();
        for (int round = 0; round < 1500; ++round) {
            std::vector<uint8_t> bytes = whole;
            for (int k = 0; k < 3; ++k) {
                bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
            }
            NkDib dib;
            try {
                dib.loadFromStream(bytes);
                ++loaded;
                // Whatever loads can be converted and read through its scan lines. (A
                // damaged size may ask for a large picture; that is allowed, but slow here.)
                if (int64_t{dib.width()} * dib.height() > 4096) {
                    continue;
                }
                dib.setPixelFormat(NkDibPixelFormat::pf24Bit);
                for (int32_t y = 0; y < dib.height(); ++y) {
                    (void)dib.constScanLine(y)[dib.stride() - 1];
                }
            } catch (const NkDibError&) {
            }
        }
    }
    EXPECT_GT(loaded, 0);
}

TEST(NkDibBmpRead, ClipboardDataUsesItsOwnMessages) {
    NkDib dib;
    const BmpBuilder good = small8Bit();
    dib.loadFromClipboardFormat(good.packed());
    EXPECT_EQ(dib.width(), 3);
    EXPECT_EQ(dib.constScanLine(0)[1], 2);

    BmpBuilder b = small8Bit();
    b.headerSize = 108;
    expectError<NkDibError>([&] { dib.loadFromClipboardFormat(b.packed()); },
                            "TNkDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
    b = small8Bit();
    b.bitCount = 7;
    expectError<NkDibError>([&] { dib.loadFromClipboardFormat(b.packed()); },
                            "TNkInternalDIB.LoadFromClipboardFormat: Invalid biBitCount");
    const std::vector<uint8_t> whole = good.packed();
    for (size_t n = 0; n < whole.size(); ++n) {
        expectError<NkDibError>([&] { dib.loadFromClipboardFormat(std::span(whole).first(n)); },
                                "TNkDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
    }
    EXPECT_EQ(dib.constScanLine(0)[1], 2);
}

TEST(NkDibBmpWrite, SavedFilesHaveTheUsualLayoutAndLoadBackExactly) {
    BmpBuilder b = small8Bit();
    b.height = -2;
    NkDib dib = load(b);
    const std::vector<uint8_t> saved = dib.saveToStream();
    ASSERT_EQ(saved.size(), 14u + 40 + 8 * 4 + 8);
    // bfSize and bfOffBits, then biSizeImage and biClrUsed.
    EXPECT_EQ(saved[2] | saved[3] << 8, static_cast<int>(saved.size()));
    EXPECT_EQ(saved[10], 14 + 40 + 32);
    EXPECT_EQ(saved[14 + 20], 8);
    EXPECT_EQ(saved[14 + 32], 8);

    std::vector<BmpBuilder> pictures{b, small8Bit()};
    BmpBuilder wide;
    wide.width = 5;
    wide.height = 3;
    wide.bitCount = 24;
    wide.pixels.assign(48, 0);
    for (size_t i = 0; i < wide.pixels.size(); ++i) {
        wide.pixels[i] = static_cast<uint8_t>(i * 37);
    }
    pictures.push_back(wide);
    BmpBuilder coded = small8Bit();
    coded.compression = kBiRle8;
    coded.pixels = {3, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};
    pictures.push_back(coded);
    for (const BmpBuilder& p : pictures) {
        NkDib first = load(p);
        NkDib second;
        second.loadFromStream(first.saveToStream());
        EXPECT_EQ(second.saveToStream(), first.saveToStream());
        EXPECT_EQ(std::vector<uint8_t>(second.pixelBlock().begin(), second.pixelBlock().end()),
                  std::vector<uint8_t>(first.pixelBlock().begin(), first.pixelBlock().end()));
        EXPECT_EQ(second.header().biHeight, p.height);
        NkDib clip;
        clip.loadFromClipboardFormat(first.saveToClipboardFormat());
        EXPECT_EQ(clip.saveToStream(), first.saveToStream());
    }
    NkDib rle = load(coded);
    EXPECT_EQ(rle.header().biSizeImage, 12u);
}

TEST(NkDibBmpWrite, FilesRoundTripAndUnreadablePathsAreRefused) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("ravinel_bmp_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "picture.bmp").string();
    NkDib dib = load(small8Bit());
    dib.saveToFile(path);
    NkDib back;
    back.loadFromFile(path);
    EXPECT_EQ(back.saveToStream(), dib.saveToStream());

    const std::string missing = (dir / "missing.bmp").string();
    expectError<NkDibInvalidDibFileError>([&] { back.loadFromFile(missing); },
                                          "TNkInternalDIB.LoadFromFile: Cannot open file: " +
                                              missing + ": No such file or directory");
    EXPECT_THROW(back.loadFromFile(dir.string()), NkDibInvalidDibFileError);
    EXPECT_THROW(dib.saveToFile((dir / "no" / "such.bmp").string()), NkDibError);
    EXPECT_EQ(back.width(), 3);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ravinel
