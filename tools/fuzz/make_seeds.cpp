// Writes valid samples of one fuzz target's input into a folder, as the starting corpus:
// pictures and archives made by our own fixtures and the libraries' encoders.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dib/dib_types.h"
#include "dib/nk_dib.h"
#include "settings/settings.h"
#include "tests/archivers/archive_writer.h"
#include "tests/archivers/lzh_writer.h"
#include "tests/bmp_builder.h"
#include "tests/core/browse/vix_catalog_builder.h"
#include "tests/plugins/dng_writer.h"
#include "tests/plugins/picture_encoders.h"
#include "tools/fixtures/exif_block.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel {
namespace {

using Bytes = std::vector<uint8_t>;
using Seeds = std::map<std::string, Bytes>;

Bytes textBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes prefixed(Bytes prefix, const Bytes& rest) {
    prefix.insert(prefix.end(), rest.begin(), rest.end());
    return prefix;
}

NkDib sampleDib(NkDibPixelFormat format) {
    NkDib dib = fixtures::toDib(fixtures::photoLikePicture(40, 30));
    dib.setPixelFormat(format);
    return dib;
}

constexpr NkDibPixelFormat kFormats[] = {NkDibPixelFormat::pf1Bit,    NkDibPixelFormat::pf4Bit,
                                         NkDibPixelFormat::pf4BitRle, NkDibPixelFormat::pf8Bit,
                                         NkDibPixelFormat::pf8BitRle, NkDibPixelFormat::pf24Bit};

// Headers our own writer never writes: the core header and bit fields.
std::vector<testing::BmpBuilder> otherBmps() {
    testing::BmpBuilder core;
    core.headerSize = 12;
    core.width = 4;
    core.height = 2;
    core.bitCount = 8;
    core.palette = testing::greyPalette(256);
    core.pixels.assign(8, 7);
    testing::BmpBuilder fields;
    fields.width = 3;
    fields.height = -2;
    fields.bitCount = 16;
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    fields.pixels.assign(16, 0x5A);
    testing::BmpBuilder deep;
    deep.headerSize = 124;
    deep.width = 2;
    deep.height = 2;
    deep.bitCount = 32;
    deep.pixels.assign(16, 0x80);
    return {core, fields, deep};
}

Seeds bmpFileSeeds() {
    Seeds seeds;
    for (const NkDibPixelFormat f : kFormats) {
        seeds["format" + std::to_string(static_cast<int>(f)) + ".bmp"] =
            sampleDib(f).saveToStream();
    }
    int n = 0;
    for (const testing::BmpBuilder& b : otherBmps()) {
        seeds["header" + std::to_string(n++) + ".bmp"] = b.file();
    }
    return seeds;
}

Seeds clipboardDibSeeds() {
    Seeds seeds;
    for (const NkDibPixelFormat f : kFormats) {
        seeds["format" + std::to_string(static_cast<int>(f)) + ".dib"] =
            sampleDib(f).saveToClipboardFormat();
    }
    int n = 0;
    for (const testing::BmpBuilder& b : otherBmps()) {
        seeds["header" + std::to_string(n++) + ".dib"] = b.packed();
    }
    return seeds;
}

// Width - 1, height - 1, 1 for 4-bit coding, then the coded rows of our own writer.
Seeds dibRleSeeds() {
    Seeds seeds;
    for (const bool fourBit : {false, true}) {
        const NkDib dib =
            sampleDib(fourBit ? NkDibPixelFormat::pf4BitRle : NkDibPixelFormat::pf8BitRle);
        const auto block = dib.pixelBlock();
        seeds[fourBit ? "rle4" : "rle8"] =
            prefixed({static_cast<uint8_t>(dib.width() - 1), static_cast<uint8_t>(dib.height() - 1),
                      static_cast<uint8_t>(fourBit)},
                     Bytes(block.begin(), block.end()));
    }
    // A delta, an absolute block and an end of bitmap, by hand.
    seeds["escapes"] = {7, 3, 0, 0, 2, 2, 1, 0, 3, 1, 2, 3, 0, 2, 5, 0, 0, 0, 0, 1};
    return seeds;
}

Seeds jpegSeeds() {
    const fixtures::SamplePicture photo = fixtures::photoLikePicture(48, 32);
    fixtures::SamplePicture grey = fixtures::gradientPicture(24, 16);
    grey.components = 1;
    grey.samples.resize(24 * 16);
    return {{"baseline.jpg", fixtures::encodeJpeg(photo)},
            {"progressive.jpg", fixtures::encodeJpeg(photo, {.progressive = true, .quality = 80})},
            {"grey.jpg", fixtures::encodeJpeg(grey)},
            {"exif.jpg", fixtures::jpegWithExif(fixtures::encodeJpeg(photo),
                                                fixtures::exifWithOrientation(6, true))},
            {"small.bmp", testing::smallBmpFile()}};
}

Seeds pngSeeds() {
    using test::png_source::PngCase;
    Seeds seeds;
    for (const PngCase& c : {PngCase{"rgb8", PNG_COLOR_TYPE_RGB, 8, false, false},
                             PngCase{"rgba16i", PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false},
                             PngCase{"pal4t", PNG_COLOR_TYPE_PALETTE, 4, false, true},
                             PngCase{"grey1", PNG_COLOR_TYPE_GRAY, 1, true, false}}) {
        seeds[std::string(c.name) + ".png"] = test::png_source::encodePng(c);
    }
    return seeds;
}

Seeds gifSeeds() {
    using test::gif_source::GifFrame;
    GifFrame interlaced;
    interlaced.interlaced = true;
    GifFrame inner{
        .left = 3, .top = 2, .width = 9, .height = 5, .transparentIndex = 4, .indexShift = 1};
    return {{"one.gif", test::gif_source::encodeGif({GifFrame{}})},
            {"interlaced.gif", test::gif_source::encodeGif({interlaced})},
            {"frames.gif", test::gif_source::encodeGif({GifFrame{}, inner})}};
}

Seeds tiffSeeds() {
    using test::tiff_source::TiffPage;
    TiffPage palette{.photometric = PHOTOMETRIC_PALETTE, .samples = 1};
    TiffPage alpha{.samples = 4};
    TiffPage tiled{.width = 40, .height = 40, .tiled = true};
    TiffPage reduced{.width = 12, .height = 8, .reduced = true};
    return {{"rgb.tif", test::tiff_source::encodeTiff({TiffPage{}})},
            {"palette.tif", test::tiff_source::encodeTiff({palette})},
            {"alpha.tif", test::tiff_source::encodeTiff({alpha})},
            {"tiled.tif", test::tiff_source::encodeTiff({tiled})},
            {"subifd.tif", test::tiff_source::encodeTiff({TiffPage{}, reduced}, true)}};
}

Seeds rawSeeds() {
    using test::DngPicture;
    DngPicture bitmap{.orientation = 6, .preview = DngPicture::Preview::bitmap};
    DngPicture bare{.preview = DngPicture::Preview::none};
    return {{"jpeg-preview.dng", test::encodeDng({})},
            {"bitmap-preview.dng", test::encodeDng(bitmap)},
            {"bare.dng", test::encodeDng(bare)}};
}

Seeds webpSeeds() {
    using namespace test::webp_source;
    return {{"lossless.webp", encodeWebp(losslessBgr, 3)},
            {"lossless_alpha.webp", encodeWebp(losslessBgra, 4)},
            {"lossy.webp", encodeWebp(lossyBgr, 3)},
            {"lossy_alpha.webp", encodeWebp(lossyBgra, 4)}};
}

// The folder asked about and the name looked up, each after its length, then the catalog.
Bytes vixInput(const std::string& dir, const std::string& name, const Bytes& catalog) {
    Bytes out{static_cast<uint8_t>(dir.size())};
    out.insert(out.end(), dir.begin(), dir.end());
    out.push_back(static_cast<uint8_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    return prefixed(out, catalog);
}

Seeds vixSeeds() {
    const Bytes thumb = fixtures::encodeJpeg(fixtures::photoLikePicture(16, 12));
    testing::VixCatalogBuilder catalog;
    catalog.folder("/pictures/").marker(0xFF01);
    catalog.name("a.jpg").size(640, 480, 24).jpeg(thumb).marker(0x0001);
    catalog.name("b.jpg").jpeg(thumb).marker(0x0002);
    return {{"two_entries.vix", vixInput("/pictures/", "b.jpg", catalog.bytes())},
            {"first_entry.vix", vixInput("/pictures/", "a.jpg", catalog.bytes())}};
}

Seeds iniSeeds() {
    const std::string path =
        (std::filesystem::temp_directory_path() / "ravinel-seed-settings.ini").string();
    Settings settings;
    settings.lastDir = "/home/user/Pictures/";
    saveSettings(settings, path);
    std::ifstream in(path, std::ios::binary);
    Bytes saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return {{"saved.ini", saved},
            {"odd.ini", textBytes("; comment\r\n[viewconf]\nGamma=1.5e3\n[ThumbForm]\nLeft=-7\n"
                                  "Left=9\nBackColor=$80FFFFFF\n[file]\nLastDir=\xe6\x97\xa5/\n"
                                  "[]\n=x\n#x=y\n")}};
}

// The format index (first byte) the parser gets, then its line.
Seeds commandLineSeeds() {
    return {{"lha", prefixed({0}, textBytes("-x1 \"C:/a b.lzh\" \"dir/c.jpg\" d.png"))},
            {"zip", prefixed({1}, textBytes(" --i \"a.zip\" \"a[[]1]/b[-]c.jpg\""))},
            {"tar", prefixed({2}, textBytes("-x -f \"x y.tar\" -o \"out dir\" -- \"m.jpg\""))},
            {"cab", prefixed({3}, textBytes("-x a.cab \"unclosed"))},
            {"7z", prefixed({5}, textBytes("x -hide \"a.7z\" \"-o\" \"\"\"q\"\"\""))}};
}

// The case index of the archive target (first byte), then the archive.
Seeds archiveSeeds() {
    using test::WrittenKind;
    const std::vector<test::WrittenMember> members = {
        {"a.jpg", fixtures::encodeJpeg(fixtures::photoLikePicture(8, 8)), 1'000'000'000},
        {"dir/b.bmp", testing::smallBmpFile(), 1'200'000'000}};
    const std::vector<test::LzhMember> lzhMembers = {{"a.jpg", textBytes("jpeg"), 1'000'000'000},
                                                     {"dir\\b.bmp", testing::smallBmpFile(), 0}};
    Bytes cab = textBytes("MSCF");
    cab.resize(64, 0);
    return {{"level0.lzh", prefixed({0}, test::lzhLevel0(lzhMembers))},
            {"level2.lzh", prefixed({0}, test::lzhLevel2(lzhMembers))},
            {"a.zip", prefixed({1}, test::writeArchive(WrittenKind::Zip, members))},
            {"header.cab", prefixed({2}, cab)},
            {"a.tar", prefixed({3}, test::writeArchive(WrittenKind::Tar, members))},
            {"a.tgz", prefixed({4}, test::writeArchive(WrittenKind::TarGzip, members))},
            {"a.tar.bz2", prefixed({5}, test::writeArchive(WrittenKind::TarBzip2, members))},
            {"header.rar", prefixed({6}, textBytes(std::string("Rar!\x1a\x07\x00", 7)))},
            {"a.7z", prefixed({7}, test::writeArchive(WrittenKind::SevenZip, members))},
            {"detected.zip", prefixed({8}, test::writeArchive(WrittenKind::Zip, members))}};
}

Seeds naturalCompareSeeds() {
    const auto pair = [](const std::string& a, const std::string& b) {
        Bytes out = textBytes(a);
        out.push_back(0);
        return prefixed(out, textBytes(b));
    };
    return {{"numbers", pair("file10.jpg", "file9.jpg")},
            {"zeros", pair("a007b", "a7b")},
            {"utf8", pair("\xe5\x86\x99\xe7\x9c\x9f"
                          "2.jpg",
                          "\xe5\x86\x99\xe7\x9c\x9f"
                          "10.jpg")},
            {"case", pair("Abc1", "abc01")}};
}

const std::map<std::string, std::function<Seeds()>>& seedMakers() {
    static const std::map<std::string, std::function<Seeds()>> makers = {
        {"bmp_file", bmpFileSeeds},
        {"clipboard_dib", clipboardDibSeeds},
        {"dib_rle", dibRleSeeds},
        {"graphic_loader", jpegSeeds},
        {"spi_ifgif", gifSeeds},
        {"spi_ifpng", pngSeeds},
        {"spi_iftiff", tiffSeeds},
        {"spi_ifwebp", webpSeeds},
        {"spi_ifraw", rawSeeds},  // DNG files, the one RAW format the tests can write
        {"vix_catalog", vixSeeds},
        {"ini_settings", iniSeeds},
        {"archiver_command_line", commandLineSeeds},
        {"archive", archiveSeeds},
        {"natural_compare", naturalCompareSeeds},
    };
    return makers;
}

}  // namespace
}  // namespace ravinel

int main(int argc, char** argv) {
    if (argc != 3 || ravinel::seedMakers().count(argv[1]) == 0) {
        std::fprintf(stderr, "usage: %s TARGET FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : ravinel::seedMakers().at(argv[1])()) {
        std::ofstream out(folder / ("seed-" + name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
