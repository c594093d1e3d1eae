// The archive member window with real archiver modules and archives made at test time.
#include "dialogs/archive_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTreeWidgetItem>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_hub.h"
#include "browser/browser_window.h"
#include "browser/img_tn_view.h"
#include "common/file_list_view.h"
#include "common/idle_dispatcher.h"
#include "platform/dos_date_time.h"
#include "tests/archivers/archive_writer.h"
#include "tests/archivers/integration/rar_writer.h"
#include "tests/archivers/integration/real_modules.h"
#include "tests/ui/shared_hub_test.h"
#include "tests/ui/viewer/view_window_fixture.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"
#include "viewer/image_window.h"

namespace ravinel {
namespace {

using test::WrittenKind;
using test::WrittenMember;

constexpr int64_t kModified = 1'600'000'000;  // 2020-09-13 12:26:40 UTC

// A time zone east of UTC for the length of a test, so local time differs from UTC.
class JapanTime {
  public:
    JapanTime() {
        const char* saved = std::getenv("TZ");
        saved_ = saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    ~JapanTime() {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    JapanTime(const JapanTime&) = delete;
    JapanTime& operator=(const JapanTime&) = delete;

  private:
    std::optional<std::string> saved_;
};

// Windows of the given kind that are still alive (closed ones are freed first).
template <typename Form>
std::vector<Form*> forms() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<Form*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<Form*>(widget)) {
            found.push_back(form);
        }
    }
    return found;
}

template <typename Form>
void deleteAll(const std::vector<Form*>& windows) {
    for (Form* window : windows) {
        delete window;
    }
}

class ArchiveWindowTest : public testing::SharedHubTest {
  protected:
    void TearDown() override {
        // Deleting skips the close handlers and their idle hook that would end the run.
        // Picked first: a window takes its menus, also top-level widgets, with it.
        deleteAll(forms<ArchiveWindow>());
        deleteAll(forms<ImageWindow>());
        deleteAll(forms<BrowserWindow>());
        IdleDispatcher::instance().clearHandler();
    }

    static std::vector<uint8_t> jpeg(int width, int height) {
        return fixtures::encodeJpeg(fixtures::photoLikePicture(width, height));
    }

    std::string writeZip(const std::string& name, const std::vector<WrittenMember>& members) {
        return dir_.write(name, test::writeArchive(WrittenKind::Zip, members));
    }

    // The one archive window the hub opened for path, or null.
    static ArchiveWindow* openWindow(const std::string& path) {
        if (!hub().openArchiveWindow(path)) {
            return nullptr;
        }
        const std::vector<ArchiveWindow*> windows = forms<ArchiveWindow>();
        return windows.size() == 1 ? windows.front() : nullptr;
    }

    static std::vector<std::string> rowNames(const ArchiveWindow& window) {
        std::vector<std::string> names;
        for (int i = 0; i < window.memberList()->count(); ++i) {
            names.push_back(
                window.memberList()->topLevelItem(i)->text(FileListView::colName).toStdString());
        }
        return names;
    }

    static void openRow(ArchiveWindow& window, int row) {
        window.memberList()->select(row);
        emit window.memberList()->openRequested();
    }

    testing::RealModules modules_;
    testing::TempDir dir_;
};

TEST_F(ArchiveWindowTest, ListsMembersWithDataUnderTheirPaths) {
    const JapanTime zone;
    const std::string zip = writeZip("set.zip", {{"trip/day 1/b.jpg", jpeg(30, 20), kModified},
                                                 {"trip/", {}, kModified},
                                                 {"empty.txt", {}, kModified},
                                                 {"a.jpg", jpeg(40, 20), kModified}});
    ArchiveWindow* window = openWindow(zip);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "set.zip");
    EXPECT_EQ(rowNames(*window), (std::vector<std::string>{"a.jpg", "trip/day 1/b.jpg"}));
    const FileInfoItem& member = window->files().item(1);
    EXPECT_EQ(member.size, static_cast<int32_t>(jpeg(30, 20).size()));
    EXPECT_EQ(member.time, packDosDateTime({2020, 9, 13, 21, 26, 40}));
    EXPECT_EQ(window->statusText().toStdString(), "");

    // The last window to close lets the run end.
    IdleDispatcher::instance().clearHandler();
    window->close();
    EXPECT_TRUE(IdleDispatcher::instance().hasHandler());
    EXPECT_TRUE(forms<ArchiveWindow>().empty());
}

TEST_F(ArchiveWindowTest, SortsByTheSortModeSetting) {
    hub().settings().thumbConf.sortMode = SortMode::smSizeDown;
    const std::string zip = writeZip("sizes.zip", {{"small.jpg", jpeg(8, 8), kModified},
                                                   {"large.jpg", jpeg(64, 64), kModified}});
    ArchiveWindow* window = openWindow(zip);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(rowNames(*window), (std::vector<std::string>{"large.jpg", "small.jpg"}));
}

TEST_F(ArchiveWindowTest, NothingToListGivesNoWindow) {
    const std::string folders =
        writeZip("folders.zip", {{"photos/", {}, kModified}, {"photos/empty.txt", {}, kModified}});
    EXPECT_FALSE(hub().openArchiveWindow(folders));
    const std::string text = "not an archive\n";
    const std::string plain = dir_.write(
        "notes.zip", std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    EXPECT_FALSE(hub().openArchiveWindow(plain));
    EXPECT_FALSE(hub().openArchiveWindow(dir_.path("missing.lzh")));
    EXPECT_FALSE(hub().openArchiveWindow(""));
    EXPECT_TRUE(forms<ArchiveWindow>().empty());
}

TEST_F(ArchiveWindowTest, RarIsListedWithTheNoteAndOpensNothing) {
    const std::vector<uint8_t> picture = jpeg(30, 20);
    const std::string rar =
        dir_.write("pics.rar", test::rarStored({{"pics/one.jpg", picture, 0x5121, 0x0000},
                                                {"two.jpg", picture, 0x5121, 0x0000}}));
    ArchiveWindow* window = openWindow(rar);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(rowNames(*window), (std::vector<std::string>{"pics/one.jpg", "two.jpg"}));
    EXPECT_EQ(window->statusText().toStdString(), "この圧縮形式での画像表示には非対応");
    QSignalSpy captions(window, &QWidget::windowTitleChanged);
    openRow(*window, 0);
    ASSERT_EQ(captions.size(), 2);  // only a flash of the loading caption
    EXPECT_EQ(captions[0][0].toString().toStdString(), "読み込み中");
    EXPECT_TRUE(forms<ImageWindow>().empty());
    ASSERT_EQ(forms<ArchiveWindow>().size(), 1u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "pics.rar");
}

TEST_F(ArchiveWindowTest, OpenedMemberClosesTheWindowAndStepsThroughTheArchive) {
    const std::string zip = writeZip("walk.zip", {{"c.jpg", jpeg(50, 10), kModified},
                                                  {"a.jpg", jpeg(30, 10), kModified},
                                                  {"notes.txt", {'h', 'i'}, kModified},
                                                  {"in/b.jpg", jpeg(40, 10), kModified}});
    ArchiveWindow* window = openWindow(zip);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(rowNames(*window),
              (std::vector<std::string>{"a.jpg", "c.jpg", "in/b.jpg", "notes.txt"}));

    openRow(*window, 3);  // no picture: the window stays, no image window, and a box says so
    EXPECT_TRUE(forms<ImageWindow>().empty());
    ASSERT_EQ(forms<ArchiveWindow>().size(), 1u);
    EXPECT_EQ(messages(),
              (std::vector<QString>{QString::fromStdString(
                  "画像を開けません\n" + zip + " : notes.txt\n\n画像ファイルではありません")}));

    openRow(*window, 2);
    EXPECT_TRUE(forms<ArchiveWindow>().empty());
    const std::vector<ImageWindow*> views = forms<ImageWindow>();
    ASSERT_EQ(views.size(), 1u);
    ImageWindow& view = *views.front();
    EXPECT_EQ(view.fileName(), "b.jpg");
    EXPECT_EQ(view.process().source.width(), 40);

    view.popupMenu().vaPrior->trigger();
    EXPECT_EQ(view.fileName(), "c.jpg");
    EXPECT_EQ(view.process().source.width(), 50);
    view.popupMenu().vaPrior->trigger();
    EXPECT_EQ(view.fileName(), "a.jpg");
    view.popupMenu().vaNext->trigger();
    view.popupMenu().vaNext->trigger();
    EXPECT_EQ(view.fileName(), "b.jpg");
    EXPECT_EQ(view.process().source.width(), 40);
    // Stepping onto what does not load passes over it without a word.
    view.popupMenu().vaNext->trigger();
    EXPECT_EQ(messages().size(), 1u);
}

// Members are prepared ahead as files are: a key shows what a load there and then shows,
// and an archive rewritten since makes the window read it again.
TEST_F(ArchiveWindowTest, MembersPreparedAheadShowAsFreshOnesUntilTheArchiveChanges) {
    hub().settings().viewForm.sizeMode = SizeMode::fitScreen;
    const std::vector<WrittenMember> members = {{"a.jpg", jpeg(1500, 1000), kModified},
                                                {"b.jpg", jpeg(900, 1300), kModified},
                                                {"c.txt", {'h', 'i'}, kModified},
                                                {"d.jpg", jpeg(320, 200), kModified}};
    const std::string zip = writeZip("ahead.zip", members);
    ArchiveWindow* list = openWindow(zip);
    ASSERT_NE(list, nullptr);
    openRow(*list, 0);
    ASSERT_EQ(forms<ImageWindow>().size(), 1u);
    ImageWindow& view = *forms<ImageWindow>().front();
    const auto settle = [&view] {
        QCoreApplication::processEvents();
        view.preloader().waitUntilIdle();
    };
    const auto shown = [&view] { return view.findChild<QLabel*>()->pixmap().toImage(); };

    const std::vector<std::pair<QAction*, std::string>> steps = {
        {view.popupMenu().vaNext, "b.jpg"},
        {view.popupMenu().vaNext, "d.jpg"},
        {view.popupMenu().vaPrior, "b.jpg"},
        {view.popupMenu().vaPrior, "a.jpg"}};
    for (const auto& [key, name] : steps) {
        SCOPED_TRACE(name);
        settle();
        const uint64_t before = view.preloader().handedOut();
        key->trigger();
        EXPECT_EQ(view.preloader().handedOut(), before + 1);
        EXPECT_EQ(view.fileName(), name);
        const QImage prepared = shown();
        view.popupMenu().vpReopen->trigger();  // read and processed there and then
        EXPECT_TRUE(prepared == shown());
    }

    settle();
    ASSERT_GE(view.preloader().preparedCount(), 1u);
    std::vector<WrittenMember> rewritten = members;
    rewritten[1].data = jpeg(700, 500);
    writeZip("ahead.zip", rewritten);
    const uint64_t before = view.preloader().handedOut();
    view.popupMenu().vaNext->trigger();
    EXPECT_EQ(view.preloader().handedOut(), before);
    EXPECT_EQ(view.fileName(), "b.jpg");
    EXPECT_EQ(view.process().source.width(), 700);
}

TEST_F(ArchiveWindowTest, OpenedMemberInformationShowsTheArchive) {
    const std::string zip = writeZip("set.zip", {{"trip/day 1/p.jpg", jpeg(10, 20), kModified}});
    ArchiveWindow* window = openWindow(zip);
    ASSERT_NE(window, nullptr);
    openRow(*window, 0);
    const std::vector<ImageWindow*> views = forms<ImageWindow>();
    ASSERT_EQ(views.size(), 1u);
    const ImageWindow& view = *views.front();
    EXPECT_EQ(view.fileName(), "p.jpg");
    const std::vector<std::string> texts = testing::infoCaptions(view);
    ASSERT_EQ(texts.size(), 11u);
    EXPECT_EQ(texts[0], "ファイル名\tp.jpg");
    EXPECT_EQ(texts[1], "圧縮ファイルのパス");
    QMenu* archive = view.popupMenu().vpInfo->actions().at(1)->menu();
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->actions().at(0)->text().toStdString(), zip);
    EXPECT_EQ(texts[2], "画像ビット数\t24 bit");
}

TEST_F(ArchiveWindowTest, StaysOpenAfterAnOpenWhenTheSettingSaysSo) {
    hub().settings().thumbConf.closeArcList = false;
    const std::string zip = writeZip("keep.zip", {{"a.jpg", jpeg(30, 10), kModified}});
    ArchiveWindow* window = openWindow(zip);
    ASSERT_NE(window, nullptr);
    openRow(*window, 0);
    EXPECT_EQ(forms<ImageWindow>().size(), 1u);
    ASSERT_EQ(forms<ArchiveWindow>().size(), 1u);
    EXPECT_EQ(window->windowTitle().toStdString(), "keep.zip");

    // The image window is still shown: closing the list does not end the run.
    IdleDispatcher::instance().clearHandler();
    window->close();
    EXPECT_FALSE(IdleDispatcher::instance().hasHandler());
}

TEST_F(ArchiveWindowTest, StartAndHandOverOpenArchivesOnlyWithOpenArc) {
    const std::string zip = writeZip("start.zip", {{"a.jpg", jpeg(30, 10), kModified}});
    hub().dispatchCommandLine(zip);
    EXPECT_EQ(forms<ArchiveWindow>().size(), 1u);
    EXPECT_TRUE(forms<BrowserWindow>().empty());
    TearDown();

    hub().executeMacro({zip});
    EXPECT_EQ(forms<ArchiveWindow>().size(), 1u);
    TearDown();

    hub().settings().thumbConf.openArc = false;
    hub().executeMacro({zip});
    EXPECT_TRUE(forms<ArchiveWindow>().empty());
    hub().dispatchCommandLine(zip);
    EXPECT_TRUE(forms<ArchiveWindow>().empty());
    EXPECT_EQ(forms<BrowserWindow>().size(), 1u);
}

TEST_F(ArchiveWindowTest, BrowserOpensArchivesThatAreNoPicture) {
    writeZip("set.zip", {{"a.jpg", jpeg(30, 10), kModified}});
    hub().settings().lastDir = dir_.path("");
    hub().setBrowserShowing(true);
    auto* browser = new BrowserWindow(hub());
    browser->show();
    browser->thumbView()->select(0);
    browser->openSelected();
    EXPECT_EQ(forms<ArchiveWindow>().size(), 1u);
    EXPECT_TRUE(forms<ImageWindow>().empty());
    EXPECT_EQ(browser->windowTitle().toStdString(), "Ravinel");
    deleteAll(forms<ArchiveWindow>());

    hub().settings().thumbConf.openArc = false;
    browser->openSelected();
    EXPECT_TRUE(forms<ArchiveWindow>().empty());
}

}  // namespace
}  // namespace ravinel
