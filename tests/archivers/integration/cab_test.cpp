// CAB archives made with gcab, listed and extracted through the layer and cab32.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "archive/archive_type_detection.h"
#include "archive/archiver_options.h"
#include "tests/archivers/integration/real_modules.h"

namespace ravinel {
namespace {

using testing::extract;
using testing::RealModules;
using testing::TempDir;

const std::vector<uint8_t> kText = {'c', 'a', 'b', '\n'};
const std::vector<uint8_t> kLong(5000, 'q');

// Writes the members into the folder and packs them with gcab (compressed when zip);
// gcab is a build dependency, so its absence fails the test.
std::string makeCab(const TempDir& dir, bool zip) {
    dir.write("one.txt", kText);
    std::filesystem::create_directories(std::filesystem::path(dir.path("sub")));
    dir.write("sub/two.bin", kLong);
    const std::string cab = dir.path(zip ? "z.cab" : "s.cab");
    const std::string command = "cd '" + dir.path("") + "' && gcab -c " + (zip ? "-z " : "") + "'" +
                                cab + "' one.txt sub/two.bin >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(std::filesystem::exists(cab)) << "gcab did not write " << cab;
    return cab;
}

TEST(CabThroughTheLayer, ListsAndExtractsStoredAndCompressed) {
    const RealModules modules;
    for (const bool zip : {false, true}) {
        SCOPED_TRACE(zip ? "MSZIP" : "stored");
        TempDir dir;
        const std::string cab = makeCab(dir, zip);
        ArchiveFile archive;
        archive.setFileName(cab);
        ASSERT_EQ(archive.archiverType(), ArchiverType::atCab);

        ASSERT_EQ(archive.openArchive(nullptr, 0), 0);
        std::vector<std::string> names;
        std::vector<uint64_t> sizes;
        IndividualInfo64 info;
        for (int32_t result = archive.findFirst("*", info); result == 0;
             result = archive.findNext(info)) {
            names.push_back(info.info.szFileName);
            sizes.push_back(info.originalSize);
        }
        archive.closeArchive();
        EXPECT_EQ(names, (std::vector<std::string>{"one.txt", "sub/two.bin"}));
        EXPECT_EQ(sizes, (std::vector<uint64_t>{kText.size(), kLong.size()}));

        int32_t result = -1;
        EXPECT_EQ(extract(archive, "sub/two.bin", result), kLong) << archive.commandLine();
        EXPECT_EQ(result, 0);
        extract(archive, "absent.txt", result);
        EXPECT_NE(result, 0);
    }
}

TEST(CabThroughTheLayer, FoundByContent) {
    const RealModules modules;
    TempDir dir;
    const std::string cab = makeCab(dir, true);
    const std::string renamed = dir.path("cab.bin");
    std::filesystem::rename(cab, renamed);
    EXPECT_EQ(archiverTypeOfContent(renamed), ArchiverType::atCab);
}

}  // namespace
}  // namespace ravinel
