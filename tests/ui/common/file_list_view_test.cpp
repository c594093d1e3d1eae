#include "common/file_list_view.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include "tests/temp_dir.h"

namespace ravinel {
namespace {

// A packed DOS date-time of local time.
int32_t dosTime(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<int32_t>(
        (static_cast<uint32_t>(year - 1980) << 25) | (static_cast<uint32_t>(month) << 21) |
        (static_cast<uint32_t>(day) << 16) | (hour << 11) | (minute << 5) | (second / 2));
}

FileInfoItem fileItem(const std::string& name, int32_t size, int32_t time) {
    FileInfoItem item;
    item.name = name;
    item.size = size;
    item.time = time;
    return item;
}

class FileListViewTest : public ::testing::Test {
  protected:
    FileListViewTest() {
        files_.add(fileItem("b.jpg", 1234567, dosTime(2024, 3, 9, 14, 5, 30)));
        files_.add(fileItem("a rather long file name.png", 0, dosTime(1999, 12, 31, 23, 59, 58)));
        files_.add(fileItem("c.bmp", 42, 0));  // no valid time
    }

    FilesInfo files_;
};

TEST_F(FileListViewTest, ThreeColumnsSizeRightAligned) {
    FileListView view;
    ASSERT_EQ(view.columnCount(), 3);
    EXPECT_EQ(view.headerItem()->text(0), "ファイル名");
    EXPECT_EQ(view.headerItem()->text(1), "サイズ(Byte)");
    EXPECT_EQ(view.headerItem()->text(2), "更新日時");
    EXPECT_TRUE(view.headerItem()->textAlignment(1) & Qt::AlignRight);
    EXPECT_EQ(view.count(), 0);
}

TEST_F(FileListViewTest, OneRowPerItemInListOrder) {
    FileListView view;
    view.setFiles(&files_);
    ASSERT_EQ(view.count(), 3);
    const QTreeWidgetItem* first = view.topLevelItem(0);
    EXPECT_EQ(first->text(0), "b.jpg");
    EXPECT_EQ(first->text(1), "1234567");  // no digit grouping
    EXPECT_EQ(first->text(2).toStdString(), files_.item(0).timeText());
    EXPECT_TRUE(first->text(2).startsWith("2024"));
    EXPECT_TRUE(first->textAlignment(1) & Qt::AlignRight);
    EXPECT_FALSE(first->textAlignment(0) & Qt::AlignRight);
    EXPECT_EQ(view.topLevelItem(1)->text(1), "0");
    EXPECT_EQ(view.topLevelItem(2)->text(2), "");

    // A new list replaces the rows; a null one is ignored.
    FilesInfo other;
    other.add(fileItem("only.gif", 7, 0));
    view.setFiles(&other);
    ASSERT_EQ(view.count(), 1);
    view.setFiles(nullptr);
    EXPECT_EQ(view.count(), 1);
    EXPECT_EQ(view.files(), &other);
}

TEST_F(FileListViewTest, ColumnsFitTheirWidestText) {
    FileListView view;
    view.setFiles(&files_);
    const QFontMetrics metrics = view.fontMetrics();
    EXPECT_EQ(view.columnWidth(0),
              metrics.horizontalAdvance(QStringLiteral("a rather long file name.png")) + 32);
    // The size column is no wider than its caption needs: the caption is its widest text.
    EXPECT_EQ(view.columnWidth(1),
              view.header()->fontMetrics().horizontalAdvance(QStringLiteral("サイズ(Byte)")) + 16);
    EXPECT_GE(view.columnWidth(2), metrics.horizontalAdvance(view.topLevelItem(0)->text(2)) + 16);
}

TEST_F(FileListViewTest, RowsShowTheItemsSmallIcons) {
    testing::TempDir tmp;
    const std::string path = tmp.write("picture.txt", std::vector<uint8_t>{'x'});
    FileIconCache icons;
    files_.item(0).smallIcon = icons.smallIconOf(path);
    FileListView view(nullptr, &icons);
    view.setFiles(&files_);
    EXPECT_EQ(view.topLevelItem(0)->icon(0).cacheKey(),
              icons.icon(files_.item(0).smallIcon).cacheKey());
    EXPECT_TRUE(view.topLevelItem(1)->icon(0).isNull());  // no icon number
}

TEST_F(FileListViewTest, SelectionNamesTheItem) {
    FileListView view;
    view.setFiles(&files_);
    EXPECT_EQ(view.selectedIndex(), -1);
    EXPECT_EQ(view.selectedItem(), nullptr);
    view.select(1);
    EXPECT_EQ(view.selectedIndex(), 1);
    EXPECT_EQ(view.selectedItem(), &files_.item(1));
    // The list emptied while the rows still show it: the row stands for nothing.
    files_.clear();
    EXPECT_EQ(view.selectedItem(), nullptr);
}

TEST_F(FileListViewTest, EnterAndDoubleClickAskToOpen) {
    FileListView view;
    view.resize(500, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setFiles(&files_);
    view.select(0);
    QSignalSpy opens(&view, &FileListView::openRequested);

    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(opens.count(), 0);
    EXPECT_EQ(view.selectedIndex(), 1);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(opens.count(), 1);
    EXPECT_EQ(view.selectedIndex(), 1);  // the key did nothing else

    const QPoint onThird = view.visualItemRect(view.topLevelItem(2)).center();
    // A double-click reaches a widget as a click followed by a double-click event.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onThird);
    EXPECT_EQ(opens.count(), 1);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, onThird);
    EXPECT_EQ(opens.count(), 2);
    EXPECT_EQ(view.selectedIndex(), 2);
    EXPECT_EQ(view.currentItem(), view.topLevelItem(2));
}

}  // namespace
}  // namespace ravinel
