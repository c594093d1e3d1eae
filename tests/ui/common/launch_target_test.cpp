#include "common/launch_target.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/temp_dir.h"

namespace ravinel {
namespace {

TEST(LaunchTarget, PathPartsSplitAtTheLastSlash) {
    EXPECT_EQ(folderPart("/home/u/pics/a.jpg"), "/home/u/pics/");
    EXPECT_EQ(namePart("/home/u/pics/a.jpg"), "a.jpg");
    EXPECT_EQ(folderPart("a.jpg"), "");
    EXPECT_EQ(namePart("a.jpg"), "a.jpg");
    EXPECT_EQ(folderPart("/pics/"), "/pics/");
    EXPECT_EQ(namePart("/pics/"), "");
}

TEST(LaunchTarget, NamesWhatThePathIs) {
    ravinel::testing::TempDir dir;
    const std::string folder = dir.path("");
    std::ofstream(folder + "a.jpg") << "x";

    EXPECT_EQ(launchTarget("").kind, LaunchTarget::Kind::none);

    const LaunchTarget file = launchTarget(folder + "a.jpg");
    EXPECT_EQ(file.kind, LaunchTarget::Kind::file);
    EXPECT_EQ(file.path, folder + "a.jpg");
    EXPECT_EQ(file.lastDir, folder);

    // A folder given without its slash gets one, and the browser opens there.
    const LaunchTarget asFolder = launchTarget(folder.substr(0, folder.size() - 1));
    EXPECT_EQ(asFolder.kind, LaunchTarget::Kind::folder);
    EXPECT_EQ(asFolder.path, folder);
    EXPECT_EQ(asFolder.lastDir, folder);

    // A path naming nothing still moves the browser to its folder.
    const LaunchTarget missing = launchTarget(folder + "gone.jpg");
    EXPECT_EQ(missing.kind, LaunchTarget::Kind::missing);
    EXPECT_EQ(missing.lastDir, folder);
}

TEST(LaunchTarget, RelativePathsAreTakenFromTheCurrentFolder) {
    ravinel::testing::TempDir dir;
    std::ofstream(dir.path("b.png")) << "x";
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path(""));
    const LaunchTarget target = launchTarget("./sub/../b.png");
    std::filesystem::current_path(previous);
    EXPECT_EQ(target.kind, LaunchTarget::Kind::file);
    EXPECT_EQ(target.path, std::filesystem::path(dir.path("b.png")).lexically_normal().string());
    EXPECT_EQ(target.lastDir, folderPart(target.path));
}

}  // namespace
}  // namespace ravinel
