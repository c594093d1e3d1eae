#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <algorithm>
#include <iterator>

#include "tests/plugins/animation_encoders.h"
#include "tests/ui/viewer/view_window_fixture.h"

namespace ravinel::testing {
namespace {

namespace anim = test::animation_source;

// The window with the bundled plug-ins, which read the moving pictures.
class AnimationWindowTest : public ViewWindowTest {
  protected:
    void SetUp() override {
        ViewWindowTest::SetUp();
        if (hub().spis().count() == 0) {
            hub().spis().search(std::string(RAVINEL_PLUGIN_DIR) + "/*.spi");
        }
    }
    static QColor shownAt(ImageWindow* window, int x, int y) {
        return picture(window)->pixmap().toImage().pixelColor(x, y);
    }
};

// A GIF, an animated PNG and an animated WebP made now play frame by frame, in order, each
// for its delay (a delay under 20 ms for 100 ms), then from the start again; the menu
// pauses them, and the information names the frame count.
TEST_F(AnimationWindowTest, FramesPlayInOrderWithTheirDelays) {
    anim::Animation animation{8, 6, {}};
    animation.frames = {{0, 0, 8, 6, {0, 0, 255, 255}, 30},
                        {0, 0, 8, 6, {0, 255, 0, 255}, 10},
                        {0, 0, 8, 6, {255, 0, 0, 255}, 250}};
    struct Step {
        QColor colour;
        int interval;
    };
    const Step steps[] = {{Qt::red, 30}, {Qt::green, 100}, {Qt::blue, 250}, {Qt::red, 30}};
    const std::pair<const char*, test::Bytes> files[] = {
        {"moving.gif", anim::encodeGif(animation)},
        {"moving.png", anim::encodeApng(animation)},
        {"moving.webp", anim::encodeWebp(animation)},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        folder_.write(name, bytes);
        ImageWindow* window = open(name);
        ASSERT_NE(window, nullptr);
        FramePlayer& player = window->framePlayer();
        ASSERT_TRUE(player.animated());
        EXPECT_TRUE(player.playing());
        for (size_t i = 0; i < std::size(steps); ++i) {
            if (i > 0) {
                player.advance();
            }
            EXPECT_EQ(player.frame(), static_cast<int32_t>(i % 3));
            EXPECT_EQ(shownAt(window, 3, 2), steps[i].colour) << i;
            EXPECT_EQ(player.interval(), steps[i].interval) << i;
        }
        const std::vector<std::string> info = infoCaptions(*window);
        EXPECT_NE(std::find(info.begin(), info.end(), "フレーム数\t3"), info.end());
        window->popupMenu().vpPlay->trigger();
        EXPECT_FALSE(player.playing());
        delete window;
    }
}

// With playback off in the settings a moving picture shows its first frame and waits.
TEST_F(AnimationWindowTest, PlaybackOffShowsTheFirstFrame) {
    hub().settings().viewForm.playAnimation = false;
    anim::Animation animation{4, 4, {}};
    animation.frames = {{0, 0, 4, 4, {0, 0, 255, 255}, 40}, {0, 0, 4, 4, {0, 255, 0, 255}, 40}};
    folder_.write("two.gif", anim::encodeGif(animation));
    ImageWindow* window = open("two.gif");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->framePlayer().animated());
    EXPECT_FALSE(window->framePlayer().playing());
    EXPECT_EQ(shownAt(window, 1, 1), QColor(Qt::red));
    delete window;
}

// A moving picture the worker prepared ahead plays when the key shows it, as one opened there.
TEST_F(AnimationWindowTest, APreparedMovingPicturePlaysWhenShown) {
    anim::Animation still{4, 4, {}};
    still.frames = {{0, 0, 4, 4, {0, 0, 255, 255}, 40}};
    anim::Animation moving{4, 4, {}};
    moving.frames = {{0, 0, 4, 4, {0, 0, 255, 255}, 40}, {0, 0, 4, 4, {0, 255, 0, 255}, 40}};
    folder_.write("a.gif", anim::encodeGif(still));
    folder_.write("b.gif", anim::encodeGif(moving));
    ImageWindow* window = open("a.gif");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->framePlayer().animated());
    QCoreApplication::processEvents();
    window->preloader().waitUntilIdle();
    const uint64_t before = window->preloader().handedOut();
    window->popupMenu().vaNext->trigger();
    ASSERT_EQ(window->preloader().handedOut(), before + 1);
    ASSERT_TRUE(window->framePlayer().animated());
    EXPECT_TRUE(window->framePlayer().playing());
    window->framePlayer().advance();
    EXPECT_EQ(shownAt(window, 1, 1), QColor(Qt::green));
    delete window;
}

}  // namespace
}  // namespace ravinel::testing
