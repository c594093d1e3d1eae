#include "app/app_hub.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/application_forms.h"
#include "platform/cpu_features.h"
#include "tests/bmp_builder.h"
#include "tests/temp_dir.h"

namespace ravinel {
namespace {

// A hub over a settings file in a fresh folder, with two pictures and a text file.
class HubTest : public ::testing::Test {
  protected:
    void SetUp() override {
        unsetenv("SUSIE_PLUGIN_DIR");
        folder_ = dir_.path("");
        dir_.write("a.bmp", ravinel::testing::smallBmpFile());
        dir_.write("b.bmp", ravinel::testing::smallBmpFile());
        std::ofstream(dir_.path("notes.txt")) << "no picture";
    }
    void TearDown() override {
        for (QWidget* form : applicationForms()) {
            delete form;
        }
    }

    std::string iniPath() const { return dir_.path("ravinel.ini"); }
    std::string iniText() const {
        std::ifstream in(iniPath());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Runs the event loop until the hub reports the end of the run; false on time-out.
    static bool runUntilClosed(AppHub& hub) {
        QEventLoop loop;
        bool closed = false;
        QObject::connect(&hub, &AppHub::closed, &loop, [&] {
            closed = true;
            loop.quit();
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        // Windows closed here, outside any event loop, are freed only when asked to be.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        loop.exec();
        return closed;
    }
    static QList<QWidget*> shownForms() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<QWidget*> forms = applicationForms();
        forms.removeIf([](const QWidget* form) { return !form->isVisible(); });
        return forms;
    }

    ravinel::testing::TempDir dir_;
    std::string folder_;
};

TEST_F(HubTest, SettingsAreReadAtStartAndWrittenWhenTheLastWindowCloses) {
    std::ofstream(iniPath()) << "[ViewForm]\nSizeMode=0\n[Unknown]\nKey=1\n";
    AppHub hub(iniPath());
    EXPECT_EQ(hub.settings().viewForm.sizeMode, SizeMode::ownSize);
    hub.settings().thumbConf.sortMode = SortMode::smNumberDown;

    ASSERT_TRUE(hub.openImageFile(folder_ + "a.bmp", hub.dirFilesInfo(), true));
    // Nothing is written while windows are open.
    EXPECT_EQ(iniText().find("SortMode"), std::string::npos);
    shownForms().front()->close();
    ASSERT_TRUE(runUntilClosed(hub));

    const std::string text = iniText();
    EXPECT_NE(text.find("SizeMode=0"), std::string::npos);
    EXPECT_NE(text.find("SortMode=3"), std::string::npos);
    EXPECT_EQ(text.find("[Unknown]"), std::string::npos);
}

TEST_F(HubTest, UnreadableSettingsGiveDefaultsAndTheFileIsReplacedOnlyAtTheEnd) {
    std::string garbage(100000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    std::ofstream(iniPath(), std::ios::binary) << garbage;
    AppHub hub(iniPath());
    Settings defaults;
    defaults.viewConf.use3DNow = getCpuFeatures().amd3DNow;
    EXPECT_EQ(hub.settings(), defaults);

    ASSERT_TRUE(hub.openImageFile(folder_ + "a.bmp", hub.dirFilesInfo(), true));
    hub.settings().selectPage = 2;
    EXPECT_EQ(iniText(), garbage) << "the file is kept while the program runs";
    hub.closeAllWindows();
    ASSERT_TRUE(runUntilClosed(hub));

    EXPECT_EQ(loadSettings(iniPath()), hub.settings());
    EXPECT_EQ(loadSettings(iniPath()).selectPage, 2);
    EXPECT_TRUE(iniText().starts_with("[ThumbForm]\n"));
    EXPECT_TRUE(iniText().ends_with("[File]\nLastDir=" + hub.settings().lastDir +
                                    "\n\n[UI]\nLanguage=\n\n"));
}

TEST_F(HubTest, OpensAWindowOnlyForAPicture) {
    AppHub hub(iniPath());
    std::vector<QString> told;
    hub.onMessage = [&](const QString& text) { told.push_back(text); };
    EXPECT_FALSE(hub.openImageFile(folder_ + "notes.txt", hub.dirFilesInfo(), true));
    EXPECT_TRUE(shownForms().isEmpty());
    EXPECT_TRUE(applicationForms().isEmpty()) << "the window made for it is freed";
    // The user asked for it: a box names the file and why.
    EXPECT_EQ(told,
              (std::vector<QString>{QString::fromStdString(
                  "画像を開けません\n" + folder_ + "notes.txt\n\n画像ファイルではありません")}));

    ASSERT_TRUE(hub.openImageFile(folder_ + "b.bmp", hub.dirFilesInfo(), true));
    const QList<QWidget*> forms = shownForms();
    ASSERT_EQ(forms.size(), 1);
    // The window lists the whole folder, sorted by name: b.bmp is the second of three.
    EXPECT_TRUE(forms.front()->windowTitle().startsWith("b.bmp [2/3] "))
        << forms.front()->windowTitle().toStdString();
}

TEST_F(HubTest, HandedOverPathsOpenPicturesAndMoveTheLastFolder) {
    AppHub hub(iniPath());
    std::vector<QString> told;
    hub.onMessage = [&](const QString& text) { told.push_back(text); };
    hub.executeMacro({folder_ + "gone.jpg"});
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].startsWith(
        QString::fromStdString("画像を開けません\n" + folder_ +
                               "gone.jpg\n\nファイルが見つからないか、読み込めません\n（")))
        << told[0].toStdString();
    hub.executeMacro({folder_});  // a folder: nothing
    hub.executeMacro({});
    hub.executeMacro({""});
    EXPECT_TRUE(shownForms().isEmpty());

    hub.executeMacro({folder_ + "sub/missing.jpg"});
    EXPECT_TRUE(shownForms().isEmpty());
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(hub.settings().lastDir, folder_ + "sub/");

    hub.executeMacro({folder_ + "a.bmp", "ignored second line"});
    EXPECT_EQ(shownForms().size(), 1);
    EXPECT_EQ(hub.settings().lastDir, folder_);
}

TEST_F(HubTest, ClosingEveryWindowEndsTheRun) {
    AppHub hub(iniPath());
    ASSERT_TRUE(hub.openImageFile(folder_ + "a.bmp", hub.dirFilesInfo(), true));
    ASSERT_TRUE(hub.openImageFile(folder_ + "b.bmp", hub.dirFilesInfo(), true));
    EXPECT_FALSE(hub.noOtherWindowShown(shownForms().front()));
    hub.closeAllWindows();
    ASSERT_TRUE(runUntilClosed(hub));
    EXPECT_TRUE(applicationForms().isEmpty());
    EXPECT_NE(iniText().find("[ViewConf]"), std::string::npos);
}

TEST_F(HubTest, ThreeDNowStaysOnOnlyWhereTheProcessorHasIt) {
    std::ofstream(iniPath()) << "[ViewConf]\n3DNow=1\n";
    AppHub hub(iniPath());
    EXPECT_EQ(hub.settings().viewConf.use3DNow, getCpuFeatures().amd3DNow);
}

}  // namespace
}  // namespace ravinel
