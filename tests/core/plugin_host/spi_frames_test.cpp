#include <gtest/gtest.h>

#include <string>

#include "codec/graphic_load_error.h"
#include "codec/graphic_loader.h"
#include "plugin_host/spis.h"
#include "tests/core/plugin_host/spi_test_plugins.h"

namespace ravinel {
namespace {

using testing::FixtureMode;
using testing::fixturePicture;
using testing::installFixture;
using testing::TempDir;

// A plug-in's frames count only as far as they hold together: a count the host cannot
// take leaves a still picture, and a frame of another size, a delay out of range or an
// index beyond the count gives no frame.
TEST(SpiFramesTest, FramesAreCheckedAsStrictlyAsPictures) {
    struct Case {
        FixtureMode mode;
        int32_t frameCount;
        bool secondFrameLoads;
    };
    const Case cases[] = {
        {FixtureMode::trueColour, 1, false},      {FixtureMode::frames, 3, true},
        {FixtureMode::framesHugeCount, 1, false}, {FixtureMode::framesWrongSize, 3, false},
        {FixtureMode::framesBadDelay, 3, false},
    };
    TempDir pluginDir;
    TempDir dir;
    Spis spis;
    spis.add(Spi::load(installFixture(pluginDir, "rvtest", "a.spi")));
    GraphicLoader loader(&spis);
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        const std::string file = dir.write("p" + std::to_string(static_cast<int>(c.mode)) + ".rvt",
                                           fixturePicture(4, 3, 10, 20, c.mode));
        NkDib picture;
        GraphicLoadInfo info;
        loader.loadFromFile(picture, file, false, info);
        ASSERT_TRUE(info.succeeded());
        EXPECT_EQ(info.frameCount, c.frameCount);

        NkDib frame;
        if (c.secondFrameLoads) {
            EXPECT_EQ(loader.loadFrame(frame, file, 1), 10);
            EXPECT_EQ(frame.width(), 4);
            EXPECT_EQ(frame.constScanLine(0)[0], 11);
            EXPECT_EQ(loader.loadFrame(frame, file, 2), 20);
        } else {
            EXPECT_THROW(loader.loadFrame(frame, file, 1), GraphicLoadError);
        }
        EXPECT_THROW(loader.loadFrame(frame, file, 3), GraphicLoadError);
        EXPECT_THROW(loader.loadFrame(frame, file, -1), GraphicLoadError);
    }
}

}  // namespace
}  // namespace ravinel
