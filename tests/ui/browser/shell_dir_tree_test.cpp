#include "browser/shell_dir_tree.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "tests/core/browse/folder_tree_fixture.h"

namespace ravinel {
namespace {

// A tree over folders of the test: a desktop, a documents folder and one volume.
class ShellDirTreeTest : public ::testing::Test {
  protected:
    ShellDirTreeTest() {
        desktop_ = folders_.folder("Desktop");
        folders_.folder("Desktop/OnDesktopB");
        folders_.folder("Desktop/onDesktopA");
        folders_.file("Desktop/note.txt");
        personal_ = folders_.folder("Docs");
        folders_.folder("Docs/Letters");
        volume_ = folders_.folder("vol");
        folders_.folder("vol/Pics/Zeta/deep");
        folders_.folder("vol/Pics/alpha");
        folders_.folder("vol/Pics/Beta");
        folders_.folder("vol/Pics/.hidden");
        folders_.file("vol/Pics/photo.jpg");
        folders_.folder("vol/Empty");
        folders_.folder("vol/OnlyHidden/.h");
        tree_.setPlacesSource([this] {
            ++rebuilds_;
            return ShellPlaces{desktop_, personal_, {{"Data", volume_}}};
        });
    }

    static std::vector<QString> childTexts(const QTreeWidgetItem* node) {
        std::vector<QString> texts;
        for (int i = 0; i < node->childCount(); ++i) {
            texts.push_back(node->child(i)->text(0));
        }
        return texts;
    }
    static QTreeWidgetItem* childNamed(const QTreeWidgetItem* node, const QString& text) {
        for (int i = 0; i < node->childCount(); ++i) {
            if (node->child(i)->text(0) == text) {
                return node->child(i);
            }
        }
        return nullptr;
    }
    QTreeWidgetItem* driveNode() const { return tree_.computerNode()->child(0); }
    static bool showsButton(const QTreeWidgetItem* node) {
        return node->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
    }

    testing::FolderTree folders_;
    std::string desktop_;
    std::string personal_;
    std::string volume_;
    int rebuilds_ = 0;
    ShellDirTree tree_;
};

TEST_F(ShellDirTreeTest, NothingBeforeTheFirstSetPath) {
    EXPECT_FALSE(tree_.initialized());
    EXPECT_EQ(tree_.topLevelItemCount(), 0);
    EXPECT_EQ(tree_.getPath(), "");
    EXPECT_EQ(rebuilds_, 0);
}

TEST_F(ShellDirTreeTest, FixedNodesDrivesAndDesktopFolders) {
    tree_.rebuildTree();
    ASSERT_TRUE(tree_.initialized());
    ASSERT_EQ(tree_.topLevelItemCount(), 1);
    EXPECT_EQ(tree_.topLevelItem(0), tree_.desktopNode());
    EXPECT_EQ(childTexts(tree_.desktopNode()),
              (std::vector<QString>{"コンピュータ", "ドキュメント", "onDesktopA", "OnDesktopB"}));
    EXPECT_EQ(childTexts(tree_.computerNode()),
              (std::vector<QString>{"Data (" + QString::fromStdString(volume_).chopped(1) + ")"}));
    EXPECT_EQ(tree_.desktopNode()->text(0), "デスクトップ");
    EXPECT_EQ(tree_.nodePath(tree_.desktopNode()), desktop_);
    EXPECT_EQ(tree_.nodePath(tree_.personalNode()), personal_);
    EXPECT_EQ(tree_.nodePath(tree_.computerNode()), "");
    EXPECT_EQ(tree_.nodePath(driveNode()), volume_);
    EXPECT_EQ(tree_.nodePath(tree_.desktopNode()->child(2)), desktop_ + "onDesktopA/");
    EXPECT_TRUE(showsButton(tree_.personalNode()));
    // Volumes are not looked into before they are opened.
    EXPECT_TRUE(showsButton(driveNode()));
    EXPECT_EQ(driveNode()->childCount(), 0);
}

TEST_F(ShellDirTreeTest, SetPathMatchesNamesIgnoringCaseAndReturnsTheirSpelling) {
    tree_.setPath(volume_ + "pics/ZETA/");
    EXPECT_EQ(tree_.getPath(), volume_ + "Pics/Zeta/");
    EXPECT_EQ(tree_.currentItem()->text(0), "Zeta");
    EXPECT_TRUE(tree_.currentItem()->isExpanded());
    EXPECT_EQ(childTexts(tree_.currentItem()), (std::vector<QString>{"deep"}));
    // Only the nodes on the way were opened.
    const QTreeWidgetItem* pics = tree_.currentItem()->parent();
    EXPECT_EQ(childNamed(pics, "Beta")->childCount(), 0);
    // Names sort case-insensitively; hidden folders are listed, files are not.
    EXPECT_EQ(childTexts(pics), (std::vector<QString>{".hidden", "alpha", "Beta", "Zeta"}));
    EXPECT_EQ(childTexts(driveNode()), (std::vector<QString>{"Empty", "OnlyHidden", "Pics"}));
}

TEST_F(ShellDirTreeTest, AnExactNameWinsOverOneThatDiffersInCase) {
    folders_.folder("vol/case");
    folders_.folder("vol/Case");
    tree_.setPath(volume_ + "case/");
    EXPECT_EQ(tree_.getPath(), volume_ + "case/");
    tree_.setPath(volume_ + "CASE/");
    EXPECT_EQ(tree_.getPath(), volume_ + "Case/");
}

TEST_F(ShellDirTreeTest, FixedPlacesAndEmptyPaths) {
    tree_.setPath(desktop_);
    EXPECT_EQ(tree_.currentItem(), tree_.desktopNode());
    EXPECT_EQ(tree_.getPath(), desktop_);

    tree_.setPath(desktop_ + "ondesktopb/");
    EXPECT_EQ(tree_.getPath(), desktop_ + "OnDesktopB/");

    tree_.setPath(personal_ + "letters/");
    EXPECT_EQ(tree_.getPath(), personal_ + "Letters/");

    tree_.setPath("");
    EXPECT_EQ(tree_.currentItem(), tree_.computerNode());
    EXPECT_EQ(tree_.getPath(), "");
    EXPECT_TRUE(tree_.computerNode()->isExpanded());
}

TEST_F(ShellDirTreeTest, AMissingPathSelectsTheDeepestFolderOnTheWay) {
    tree_.setPath(volume_ + "Pics/Nope/Deeper/");
    EXPECT_EQ(tree_.getPath(), volume_ + "Pics/");
    tree_.setPath(volume_ + "Pics/photo.jpg");  // a file: its folder
    EXPECT_EQ(tree_.getPath(), volume_ + "Pics/");
    tree_.setPath("/no/such/volume/");
    EXPECT_EQ(tree_.currentItem(), tree_.computerNode());
}

TEST_F(ShellDirTreeTest, TheSamePathAgainKeepsTheTreeAnotherRebuildsIt) {
    tree_.setPath(volume_ + "Pics/");
    EXPECT_EQ(rebuilds_, 1);
    tree_.setPath(volume_ + "Pics/");
    EXPECT_EQ(rebuilds_, 1);
    tree_.setPath(volume_ + "pics/");  // same folder, other spelling: compared byte for byte
    EXPECT_EQ(rebuilds_, 2);
    tree_.setPath("");
    tree_.setPath("");  // empty never counts as shown
    EXPECT_EQ(rebuilds_, 4);
}

TEST_F(ShellDirTreeTest, ExpansionButtonsFollowWhatOpeningFinds) {
    tree_.setPath(volume_);
    EXPECT_FALSE(showsButton(childNamed(driveNode(), "Empty")));
    EXPECT_TRUE(showsButton(childNamed(driveNode(), "OnlyHidden")));

    // A folder that lost its subfolders, or vanished, since the tree was built: opening
    // it finds nothing and takes the button away.
    childNamed(driveNode(), "Pics")->setExpanded(true);
    QTreeWidgetItem* zeta = childNamed(childNamed(driveNode(), "Pics"), "Zeta");
    ASSERT_NE(zeta, nullptr);
    ASSERT_TRUE(showsButton(zeta));
    folders_.remove("vol/Pics/Zeta/deep");
    zeta->setExpanded(true);
    EXPECT_EQ(zeta->childCount(), 0);
    EXPECT_FALSE(showsButton(zeta));

    folders_.folder("vol/Pics/alpha/later");
    folders_.remove("vol/Pics/alpha");
    QTreeWidgetItem* alpha = childNamed(childNamed(driveNode(), "Pics"), "alpha");
    alpha->setExpanded(true);
    EXPECT_EQ(alpha->childCount(), 0);
    EXPECT_EQ(tree_.nodePath(alpha), volume_ + "Pics/alpha/");
}

// File names are bytes: a name that is no UTF-8 is shown with replacement characters but
// keeps its bytes in the paths.
TEST_F(ShellDirTreeTest, NamesThatAreNoUtf8KeepTheirBytes) {
    const std::string latin1 = "Caf\xe9";
    folders_.folder("vol/" + latin1 + "/inner");
    tree_.setPath(volume_ + latin1 + "/inner/");
    EXPECT_EQ(tree_.getPath(), volume_ + latin1 + "/inner/");
    EXPECT_TRUE(tree_.currentItem()->parent()->text(0).startsWith("Caf"));
}

TEST_F(ShellDirTreeTest, LinkedFoldersOpenOneLevelAtATime) {
    folders_.link("vol/Pics/Beta/loop", "..");
    folders_.link("vol/Pics/Beta/self", "self");
    tree_.setPath(volume_ + "Pics/Beta/loop/Beta/loop/");
    EXPECT_EQ(tree_.getPath(), volume_ + "Pics/Beta/loop/Beta/loop/");
    EXPECT_EQ(childTexts(tree_.currentItem()),
              (std::vector<QString>{".hidden", "alpha", "Beta", "Zeta"}));
    EXPECT_EQ(childNamed(tree_.currentItem(), "Beta")->childCount(), 0);
}

TEST_F(ShellDirTreeTest, AnUnreadableFolderHasNoChildren) {
    folders_.folder("vol/Locked/inner");
    if (!folders_.lock("vol/Locked")) {
        GTEST_SKIP() << "permissions do not stop this user from listing folders";
    }
    tree_.setPath(volume_ + "Locked/inner/");
    EXPECT_EQ(tree_.getPath(), volume_ + "Locked/");
    EXPECT_EQ(tree_.currentItem()->childCount(), 0);
    EXPECT_FALSE(showsButton(tree_.currentItem()));
    folders_.unlock("vol/Locked");
}

TEST_F(ShellDirTreeTest, ClickAndEnterReportTheFolderArrowKeysDoNot) {
    tree_.resize(400, 600);
    tree_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree_));
    tree_.setPath(volume_ + "Pics/");
    QSignalSpy clicks(&tree_, &ShellDirTree::folderClicked);

    QTest::keyClick(&tree_, Qt::Key_Down);
    EXPECT_EQ(tree_.getPath(), volume_ + "Pics/.hidden/");
    EXPECT_EQ(clicks.count(), 0);

    QTest::keyClick(&tree_, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(&tree_, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(tree_.getPath(), volume_ + "Pics/.hidden/");

    QTreeWidgetItem* zeta = childNamed(tree_.currentItem()->parent(), "Zeta");
    QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, tree_.visualItemRect(zeta).center());
    EXPECT_EQ(clicks.count(), 3);
    EXPECT_EQ(tree_.getPath(), volume_ + "Pics/Zeta/");

    // Opening a node from the keyboard lists its subfolders and is no click.
    ASSERT_EQ(zeta->childCount(), 0);
    QTest::keyClick(&tree_, Qt::Key_Right);
    EXPECT_TRUE(zeta->isExpanded());
    EXPECT_EQ(childTexts(zeta), (std::vector<QString>{"deep"}));
    EXPECT_EQ(clicks.count(), 3);
}

// The places of this machine: the root volume at least, so any folder can be reached.
TEST(ShellDirTreeSystem, ReachesAFolderThroughTheMountedVolumes) {
    testing::FolderTree folders;
    const std::string target = folders.folder("Some/Folder");
    ShellDirTree tree;
    tree.setPath(target);
    EXPECT_EQ(tree.getPath(), target);
    EXPECT_GE(tree.computerNode()->childCount(), 1);
}

}  // namespace
}  // namespace ravinel
