// One whole session without windows, as a run of the program does it: settings read,
// plug-ins found, pictures of every format loaded and processed in every colour mode,
// thumbnails of the folder, pictures out of archives, settings written. Afterwards no
// memory may be left unreachable.
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <string>
#include <vector>

#include "browse/dir_files_info.h"
#include "browse/thumb_maker.h"
#include "codec/graphic_loader.h"
#include "plugin_host/spis.h"
#include "plugin_host/spis_search.h"
#include "process/pipeline/g_process.h"
#include "settings/settings.h"
#include "tests/archivers/archive_writer.h"
#include "tests/archivers/lzh_writer.h"
#include "tests/core/archive/archive_fixture.h"
#include "tests/plugins/picture_encoders.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel {
namespace {

using testing::TempDir;

struct SessionFiles {
    TempDir dir;
    std::vector<std::string> pictures;  // names in dir, one of each format
    std::vector<std::string> archives;  // paths of a ZIP, a TAR and an LHA of two of them
};

void writeSessionFiles(SessionFiles& files) {
    const std::vector<uint8_t> jpeg =
        fixtures::encodeJpeg(fixtures::gradientPicture(160, 120), {.quality = 85});
    const std::vector<uint8_t> bmp =
        fixtures::toDib(fixtures::gradientPicture(70, 50)).saveToStream();
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> pictures = {
        {"photo.jpg", jpeg},
        {"scan.bmp", bmp},
        {"icon.png", test::png_source::encodePng({"Rgb8", PNG_COLOR_TYPE_RGB, 8, false, false})},
        {"anim.gif", test::gif_source::encodeGif({test::gif_source::GifFrame{}})},
        {"page.tif", test::tiff_source::encodeTiff({test::tiff_source::TiffPage{}})},
        {"web.webp", test::webp_source::encodeWebp(test::webp_source::lossyBgr, 3)},
    };
    for (const auto& [name, bytes] : pictures) {
        files.dir.write(name, bytes);
        files.pictures.push_back(name);
    }
    files.dir.write("notes.txt", std::vector<uint8_t>{'h', 'i'});
    const std::vector<test::WrittenMember> members = {{"in/photo.jpg", jpeg, 0},
                                                      {"in/scan.bmp", bmp, 0}};
    files.archives = {
        files.dir.write("set.zip", test::writeArchive(test::WrittenKind::Zip, members)),
        files.dir.write("set.tgz", test::writeArchive(test::WrittenKind::TarGzip, members)),
        files.dir.write("set.lzh",
                        test::lzhLevel2({{"in/photo.jpg", jpeg, 0}, {"in/scan.bmp", bmp, 0}})),
    };
}

void runSession(const SessionFiles& files) {
    const std::string iniPath = files.dir.path("ravinel.ini");
    Settings settings = loadSettings(iniPath);

    Spis spis;
    spis.onSearch = spisSearch;
    spis.searchOptions = settings.spiSearchOptions;
    spis.search(std::string(BUNDLED_PLUGIN_DIR) + "/*.spi");
    ASSERT_EQ(spis.count(), 8);
    GraphicLoader loader(&spis);
    loader.doAnalyze = true;

    for (const std::string& name : files.pictures) {
        SCOPED_TRACE(name);
        GProcess process;
        loader.loadFromFile(process.source, files.dir.path(name), false, process.loadInfo);
        ASSERT_TRUE(process.loadInfo.succeeded());
        process.settings = settings.viewConf;
        for (const auto& [width, height] : {std::pair{31, 11}, {403, 307}}) {
            for (uint8_t mode = 0; mode <= 4; ++mode) {
                process.settings.colorMode = modeOfIndex<ColorMode>(mode);
                process.destWidth = static_cast<uint16_t>(width);
                process.destHeight = static_cast<uint16_t>(height);
                process.execute();
                EXPECT_EQ(process.dest.width(), width);
                EXPECT_EQ(process.dest.height(), height);
            }
        }
    }

    DirFilesInfo list;
    list.setDir(files.dir.path(""));
    ThumbMaker maker(loader);
    maker.dir = list.dir();
    int thumbnails = 0;
    for (int i = 0; i < list.count(); ++i) {
        maker.examineFile(list.item(i));
        thumbnails += list.item(i).info.kind != GraphicKind::gkFile ? 1 : 0;
    }
    EXPECT_EQ(thumbnails, static_cast<int>(files.pictures.size()));

    const testing::ArchiverModuleFolder modules(RAVINEL_ARCHIVER_MODULE_DIR);
    for (const std::string& archive : files.archives) {
        for (const char* member : {"in/photo.jpg", "in/scan.bmp"}) {
            NkDib picture;
            GraphicLoadInfo info;
            loader.loadFromArchive(picture, archive, member, false, info);
            EXPECT_TRUE(info.succeeded()) << archive << " " << member;
        }
    }

    settings.lastDir = list.dir();
    saveSettings(settings, iniPath);
    EXPECT_EQ(loadSettings(iniPath), settings);
}

TEST(HeadlessSession, LeavesNoMemoryUnreachable) {
    {
        SessionFiles files;
        writeSessionFiles(files);
        runSession(files);
    }
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "the report above names the leaks";
#else
    GTEST_SKIP() << "the leak check needs a build with AddressSanitizer";
#endif
}

}  // namespace
}  // namespace ravinel
