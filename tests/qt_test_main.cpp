// The main of the test programs that need a QApplication. Widgets run on Qt's offscreen
// platform unless the caller chose another (a test that needs a real window starts its
// own Xvfb and child process). Shared thumbnails go to a cache folder of the run's own,
// never the user's. The windows speak Japanese, the language of their sources, unless
// the caller chose another.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("RAVINEL_LANG")) {
        qputenv("RAVINEL_LANG", "ja");
    }
    const QTemporaryDir cacheHome;
    qputenv("XDG_CACHE_HOME", cacheHome.path().toLocal8Bit());
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
