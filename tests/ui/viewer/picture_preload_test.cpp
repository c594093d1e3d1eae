#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "codec/graphic_loader.h"
#include "tests/ui/viewer/view_window_fixture.h"
#include "viewer/image_window.h"

namespace ravinel {
namespace {

using testing::ViewWindowTest;

// A folder of photos of different sizes with a text file among them, shown fitted to the
// screen (reduced, filtered) unless a case says otherwise.
class PicturePreloadTest : public ViewWindowTest {
  protected:
    void SetUp() override {
        ViewWindowTest::SetUp();
        hub().settings().viewForm.sizeMode = SizeMode::fitScreen;
        writeJpeg("a.jpg", 1500, 1000);
        writeJpeg("b.jpg", 900, 1300);
        writeText("c.txt");
        writeJpeg("d.jpg", 320, 200);
    }

    // A window on name whose neighbours the worker has prepared.
    ImageWindow* openPreloaded(const std::string& name) {
        ImageWindow* window = open(name);
        if (window != nullptr) {
            settle(window);
        }
        return window;
    }
    // Lets the window ask for its neighbours and waits until the worker has them.
    static void settle(ImageWindow* window) {
        QCoreApplication::processEvents();
        window->preloader().waitUntilIdle();
    }

    // What the window shows, as a fresh window opened on the same file shows it.
    void expectShownAsFresh(ImageWindow* window) {
        const int32_t count = hub().settings().preloadCount;
        hub().settings().preloadCount = 0;
        ImageWindow* fresh = open(window->fileName());
        hub().settings().preloadCount = count;
        ASSERT_NE(fresh, nullptr);
        EXPECT_EQ(title(window), title(fresh));
        EXPECT_EQ(clientSize(window), clientSize(fresh));
        EXPECT_TRUE(picture(window)->pixmap().toImage() == picture(fresh)->pixmap().toImage())
            << window->fileName();
        EXPECT_EQ(window->process().loadInfo.width, fresh->process().loadInfo.width);
        EXPECT_EQ(window->process().loadInfo.pixelFormat, fresh->process().loadInfo.pixelFormat);
        delete fresh;
    }
};

// Stepping both ways over every picture with the worker ahead shows the bytes a load
// there and then shows, whatever the display settings.
TEST_F(PicturePreloadTest, PreparedPicturesShowAsFreshOnes) {
    struct Case {
        const char* name;
        std::function<void(Settings&)> set;
    };
    const std::vector<Case> cases = {
        {"fit, area reduction, filters 0220", [](Settings&) {}},
        {"own size, 8-bit colours",
         [](Settings& s) {
             s.viewForm.sizeMode = SizeMode::ownSize;
             s.viewConf.colorMode = ColorMode::palette8;
         }},
        {"rate 1.5, halftone enlargement, noise removal before",
         [](Settings& s) {
             s.viewForm.sizeMode = SizeMode::fixedRate;
             s.viewForm.sizeRate = 1.5;
             s.viewConf.expandMode = ResizeMethod::halftone;
             s.viewConf.fltInExpand.noise = FilterPhase::fpBefore;
         }},
        {"two ahead each way", [](Settings& s) { s.preloadCount = 2; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings& settings = hub().settings();
        const Settings kept = settings;
        c.set(settings);
        ImageWindow* window = openPreloaded("a.jpg");
        ASSERT_NE(window, nullptr);
        // Forth over the text file to the end, then back to the start.
        const std::vector<std::pair<QAction*, std::string>> steps = {
            {window->popupMenu().vaNext, "b.jpg"},
            {window->popupMenu().vaNext, "d.jpg"},
            {window->popupMenu().vaPrior, "b.jpg"},
            {window->popupMenu().vaPrior, "a.jpg"},
        };
        for (const auto& [key, name] : steps) {
            const uint64_t before = window->preloader().handedOut();
            key->trigger();
            EXPECT_EQ(window->preloader().handedOut(), before + 1) << name;
            EXPECT_EQ(window->fileName(), name);
            expectShownAsFresh(window);
            settle(window);
        }
        delete window;
        settings = kept;
    }
}

// Whatever changes what the next picture would look like, between the preparing and the
// key, makes the window load and process it afresh.
TEST_F(PicturePreloadTest, ChangesThrowAwayPreparedPictures) {
    struct Case {
        const char* name;
        std::function<void(ImageWindow&)> change;
        std::function<void()> undo;
    };
    const std::vector<Case> cases = {
        {"colour mode from the menu", [](ImageWindow& w) { w.popupMenu().vpColor[4]->trigger(); },
         [] { hub().settings().viewConf.colorMode = ColorMode::full; }},
        {"a filter choice, which waits for the next display",
         [](ImageWindow& w) { w.popupMenu().vpReductFilter[2].none->trigger(); }, [] {}},
        {"size mode from the menu", [](ImageWindow& w) { w.popupMenu().vpSizeOrgMode->trigger(); },
         [] {}},
        {"the loader's choices",
         [](ImageWindow&) { hub().graphicLoader().useColorProfile = false; },
         [] { hub().graphicLoader().useColorProfile = true; }},
        {"the file itself", [this](ImageWindow&) { writeJpeg("b.jpg", 700, 500); },
         [this] { writeJpeg("b.jpg", 900, 1300); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageWindow* window = openPreloaded("a.jpg");
        ASSERT_NE(window, nullptr);
        ASSERT_GE(window->preloader().preparedCount(), 1u);
        c.change(*window);
        // The key comes before the worker could prepare anything anew.
        const uint64_t before = window->preloader().handedOut();
        window->popupMenu().vaNext->trigger();
        EXPECT_EQ(window->preloader().handedOut(), before);
        EXPECT_EQ(window->fileName(), "b.jpg");
        // The fresh window takes the changed defaults, as the changed window has them.
        hub().settings().viewConf = window->process().settings;
        hub().settings().viewConf.dither = false;
        hub().settings().viewForm = window->viewForm();
        expectShownAsFresh(window);
        delete window;
        hub().settings() = Settings{};
        hub().settings().viewForm.sizeMode = SizeMode::fitScreen;
        c.undo();
    }
}

}  // namespace
}  // namespace ravinel
