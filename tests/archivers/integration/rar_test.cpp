// Stored RAR 4 archives listed and extracted through the layer and unrar32.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "archive/archive_type_detection.h"
#include "archive/archiver_options.h"
#include "tests/archivers/integration/rar_writer.h"
#include "tests/archivers/integration/real_modules.h"

namespace ravinel {
namespace {

using test::RarMember;
using testing::extract;
using testing::RealModules;
using testing::TempDir;

// 2021-03-04 05:06:08 as a DOS date and time.
constexpr uint16_t kDosDate = ((2021 - 1980) << 9) | (3 << 5) | 4;
constexpr uint16_t kDosTime = (5 << 11) | (6 << 5) | 4;

TEST(RarWriter, Crc32OfTheCheckString) {
    const std::string check = "123456789";
    EXPECT_EQ(test::crc32Of(reinterpret_cast<const uint8_t*>(check.data()), check.size()),
              0xCBF43926U);
    // The end block every RAR 4 archive closes with.
    const std::vector<uint8_t> empty = test::rarStored({});
    EXPECT_EQ(std::vector<uint8_t>(empty.end() - 7, empty.end()),
              (std::vector<uint8_t>{0xC4, 0x3D, 0x7B, 0x00, 0x40, 0x07, 0x00}));
}

TEST(RarThroughTheLayer, ListsAndExtractsStoredMembers) {
    const RealModules modules;
    TempDir dir;
    const std::vector<uint8_t> text = {'r', 'a', 'r', '\n'};
    const std::vector<uint8_t> large(4000, 'w');
    const std::string rar =
        dir.write("a.rar", test::rarStored({{"one.txt", text, kDosDate, kDosTime},
                                            {"sub/two.bin", large, kDosDate, kDosTime}}));
    EXPECT_EQ(archiverTypeOfContent(rar), ArchiverType::atRar);
    ArchiveFile archive;
    archive.setFileName(rar);
    ASSERT_EQ(archive.archiverType(), ArchiverType::atRar);

    ASSERT_EQ(archive.openArchive(nullptr, 0), 0);
    std::vector<std::string> names;
    std::vector<uint64_t> sizes;
    IndividualInfo64 info;
    for (int32_t result = archive.findFirst("*", info); result == 0;
         result = archive.findNext(info)) {
        names.push_back(info.info.szFileName);
        sizes.push_back(info.originalSize);
        EXPECT_EQ(info.info.wDate, kDosDate);
    }
    archive.closeArchive();
    EXPECT_EQ(names, (std::vector<std::string>{"one.txt", "sub/two.bin"}));
    EXPECT_EQ(sizes, (std::vector<uint64_t>{text.size(), large.size()}));

    int32_t result = -1;
    EXPECT_EQ(extract(archive, "sub/two.bin", result), large) << archive.commandLine();
    EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace ravinel
