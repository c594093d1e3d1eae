#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/archiver.h"
#include "archive/archiver_error.h"
#include "tests/expect_error.h"

namespace ravinel {
namespace {

using testing::expectError;

ArchiverOptions viewerOptions() {
    ArchiverOptions options;
    setViewingSwitches(options);
    return options;
}

std::string lineOf(ArchiverType type, const ArchiverOptions& options,
                   const std::string& member = "pic.bmp", bool ownerWindow = false,
                   const std::string& archive = "/a/b.arc") {
    return createArchiver(type)->extractMemCommandLine(archive, {member}, options, ownerWindow);
}

TEST(ArchiveCommandLine, LhaAndArjWriteTheSetSwitchesInTableOrder) {
    EXPECT_EQ(lineOf(ArchiverType::atLha, viewerOptions()),
              " -+ -n1 -jso1 -gd1 -gs127 \"/a/b.arc\" \"pic.bmp\"");
    EXPECT_EQ(lineOf(ArchiverType::atArj, viewerOptions()),
              " -+ -n1 -jso1 -gd1 -gs127 \"/a/b.arc\" \"pic.bmp\"");

    ArchiverOptions options = viewerOptions();
    options.setNumber("n", 0);
    options.setNumber("a", 2);
    options.setText("w", "/tmp/out");
    options.setText("jz", "zz");
    options.userOptions = "-extra";
    options.userFileList = "@list";
    // An owner window forces n to 1 whatever the option says.
    EXPECT_EQ(lineOf(ArchiverType::atLha, options, "m", true),
              " -+ -a2 -n1 -w\"/tmp/out\" -jso1 -jz\"zz\" -gd1 -gs127 -extra \"/a/b.arc\" \"m\" "
              "@list");
    EXPECT_EQ(lineOf(ArchiverType::atLha, options, "m", false).substr(0, 12), " -+ -a2 -n0 ");
}

TEST(ArchiveCommandLine, LhaRequiresJso) {
    ArchiverOptions options = viewerOptions();
    options.setNumber("jso", -1);
    expectError<ArchiverError>([&] { lineOf(ArchiverType::atLha, options); },
                               "jso オプションが設定されていません。");
}

TEST(ArchiveCommandLine, ZipSwitchesAndNameRewriting) {
    EXPECT_EQ(lineOf(ArchiverType::atZip, viewerOptions()), " --i \"/a/b.arc\" \"pic.bmp\"");
    EXPECT_EQ(lineOf(ArchiverType::atZip, viewerOptions(), "-x[1]\\y\\z.jpg", false, "-q[.zip"),
              " --i \"[-]q[[].zip\" \"[-]x[[]1]/y/z.jpg\"");

    ArchiverOptions options;
    options.setNumber("c", 1);
    options.setNumber("x", 0);
    EXPECT_EQ(lineOf(ArchiverType::atZip, options), " -o -j \"/a/b.arc\" \"pic.bmp\"");
    EXPECT_EQ(lineOf(ArchiverType::atZip, options, "m", true), " -o --i -j \"/a/b.arc\" \"m\"");
}

TEST(ArchiveCommandLine, TarFamily) {
    EXPECT_EQ(lineOf(ArchiverType::atTar, viewerOptions()),
              " --display-dialog=0 -f \"/a/b.arc\" \"pic.bmp\"");
    EXPECT_EQ(lineOf(ArchiverType::atTar, viewerOptions(), "m", true), " -f \"/a/b.arc\" \"m\"");
    EXPECT_EQ(lineOf(ArchiverType::atTgz, viewerOptions(), "m"),
              " --display-dialog=0 -z -f \"/a/b.arc\" \"m\"");
    EXPECT_EQ(lineOf(ArchiverType::atBZ2, viewerOptions(), "m"),
              " --display-dialog=0 -B -f \"/a/b.arc\" \"m\"");

    ArchiverOptions options;
    options.setNumber("a", 0);
    options.setNumber("o", 1);
    options.setNumber("p", 1);
    options.setNumber("x", 0);
    options.setNumber("jm", 9);
    EXPECT_EQ(lineOf(ArchiverType::atTgz, options, "m"),
              " -I -g -check-all-path=1 -use-directory=0 -z9 -f \"/a/b.arc\" \"m\"");
    options.setNumber("a", 1);
    EXPECT_EQ(lineOf(ArchiverType::atBZ2, options, "m").substr(0, 8), " -AH -g ");
    EXPECT_NE(lineOf(ArchiverType::atBZ2, options, "m").find(" -B9 "), std::string::npos);
}

TEST(ArchiveCommandLine, RarAndCab) {
    // An unset c is below 1: RAR then asks for -u.
    EXPECT_EQ(lineOf(ArchiverType::atRar, viewerOptions()), " -u \"/a/b.arc\" \"pic.bmp\"");
    ArchiverOptions options;
    options.setNumber("c", 1);
    options.setNumber("m", 1);
    options.setNumber("p", 1);
    EXPECT_EQ(lineOf(ArchiverType::atRar, options, "m"), " -y -s \"/a/b.arc\" \"m\"");

    EXPECT_EQ(lineOf(ArchiverType::atCab, viewerOptions()), " -i \"/a/b.arc\" \"pic.bmp\"");
    options.setNumber("r", 1);
    options.setNumber("x", 0);
    options.setNumber("ji", 1);
    options.setText("w", "out");
    EXPECT_EQ(lineOf(ArchiverType::atCab, options, "m"),
              " -o -r -h\"out\\\" -j -q \"/a/b.arc\" \"m\"");
}

TEST(ArchiveCommandLine, FormatsWithoutMemoryExtractionAndWritingCommandsRefuse) {
    for (const ArchiverType type : {ArchiverType::atBga, ArchiverType::atYz1, ArchiverType::at7z}) {
        expectError<ArchiverError>([&] { lineOf(type, viewerOptions()); },
                                   "この形式ではメモリ展開をサポートしておりません。");
    }
    const auto zip = createArchiver(ArchiverType::atZip);
    expectError<ArchiverError>([&] { zip->packCommandLine(); },
                               "この形式では書庫ファイルの作成をサポートしておりません。");
    expectError<ArchiverError>([&] { zip->deleteCommandLine(); },
                               "この形式の書庫ではファイルの削除をサポートしておりません。");
    expectError<ArchiverError>([&] { zip->updateCommandLine(); },
                               "この形式の書庫では書庫の更新をサポートしておりません。");
    expectError<ArchiverError>([&] { zip->sfxCommandLine(); },
                               "この形式では自己解凍書庫の作成をサポートしておりません。");
}

TEST(ArchiverOptions, SwitchTableAndUnknownNames) {
    size_t numbers = 0;
    size_t texts = 0;
    for (const ArchiverSwitch& sw : kArchiverSwitches) {
        numbers += sw.kind == ArchiverSwitchKind::number;
        texts += sw.kind == ArchiverSwitchKind::text;
    }
    EXPECT_EQ(numbers, 63u);
    EXPECT_EQ(texts, 9u);
    ArchiverOptions options;
    EXPECT_EQ(options.number("gyx"), -1);
    EXPECT_TRUE(options.includeExtraStreams);
    EXPECT_THROW(options.number("w"), std::invalid_argument);
    EXPECT_THROW(options.setNumber("nope", 1), std::invalid_argument);
}

}  // namespace
}  // namespace ravinel
