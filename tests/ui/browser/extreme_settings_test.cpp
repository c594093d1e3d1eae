// Settings files with the largest, smallest and zero numbers the reader takes: the browser
// and an image window lay out with them at what can be drawn, without overflow (the
// sanitizers end the run on any).
#include <string>

#include "browser/img_tn_view.h"
#include "settings/settings_limits.h"
#include "tests/ui/browser/browser_window_fixture.h"

namespace ravinel::testing {
namespace {

struct ExtremeSettings {
    const char* name;
    std::string text;
    QSize tile;     // the tiles as drawn
    QSize picture;  // the display size of the 40 x 30 picture
};

// Every size and position of the browser and the image window set to one value.
std::string everySize(const std::string& value, const std::string& viewForm) {
    std::string text = "[ThumbForm]\n";
    for (const char* key : {"Left", "Top", "Right", "Bottom", "TreeWidth"}) {
        text += std::string(key) + "=" + value + "\n";
    }
    text += "[ThumbPanel]\n";
    for (const char* key :
         {"PanelW", "PanelH", "ImageSize", "ImageTop", "LabelTop", "LabelFSize"}) {
        text += std::string(key) + "=" + value + "\n";
    }
    return text + "[ViewForm]\n" + viewForm;
}

TEST_F(BrowserTest, ExtremeSettingsLayOutTheBrowserAndAnImageWindow) {
    const int maxSide = kMaxWindowCoordinate;
    const ExtremeSettings cases[] = {
        // A fixed long side of 65535 is cut to the 4096 box of the fixed rates.
        {"largest", everySize("2147483647", "SizeMode=3\nSizeFixed=65535\n"),
         QSize(maxSide, maxSide), QSize(4096, 3072)},
        // Size mode 0 (own size) from the low byte of the number.
        {"smallest", everySize("-2147483648", "SizeMode=-2147483648\nSizeRate=-1e308\n"),
         QSize(1, 1), QSize(40, 30)},
        {"zero", everySize("0", "SizeMode=3\nSizeFixed=0\nSizeRate=0\n"), QSize(1, 1), QSize(1, 1)},
        {"minus one", everySize("-1", "SizeMode=2\nSizeRate=1e308\n"), QSize(1, 1),
         QSize(4096, 3072)},
    };
    writeJpegs(1, 40, 30);
    const TempDir settingsFolder;
    for (const ExtremeSettings& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = settingsFolder.write(
            "ravinel.ini",
            std::span(reinterpret_cast<const uint8_t*>(c.text.data()), c.text.size()));
        hub().settings() = loadSettings(path);
        hub().settings().lastDir = folder();

        BrowserWindow* browser = openBrowser();
        for (int step = 0; step < 100 && !browser->appIdle(); ++step) {
        }
        ImgTnView* view = browser->thumbView();
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->tileCount(), 1);
        EXPECT_EQ(view->tileAt(0)->size(), c.tile);
        EXPECT_EQ(view->madeCount(), 1);
        EXPECT_LE(browser->frameGeometry().right(), maxSide);

        ASSERT_TRUE(hub().openImageFile(folder() + numberedName(0), sharedList(), true));
        ASSERT_EQ(imageWindows().size(), 1u);
        const GProcess& process = imageWindows()[0]->process();
        EXPECT_EQ(QSize(process.destWidth, process.destHeight), c.picture);
        deleteBrowserAndImageWindows();
    }
}

}  // namespace
}  // namespace ravinel::testing
