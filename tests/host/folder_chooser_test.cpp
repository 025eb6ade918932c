#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/constants.h"
#include "platform/sim/sim.h"
#include "ui/folder_chooser.h"

namespace {

class FolderChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::reset();
        owner = sim::addTopLevelWindow("owner", "");
        chooser.init(reinterpret_cast<platform::Instance>(0x400000), owner);
        std::strcpy(buffer, "c:\\Program Files");
    }
    FolderChooser chooser;
    platform::Window owner = nullptr;
    char buffer[260];
};

TEST_F(FolderChooserTest, OpensAtTheBuffersFolderAndReturnsTheChoice) {
    struct Case { const char* chosen; bool separator; const char* expected; } cases[] = {
        {"D:\\", false, "D:\\"},
        {"D:\\Games", false, "D:\\Games"},
        {"D:\\Games", true, "D:\\Games\\"},
        {"D:\\", true, "D:\\"},
        {"c:\\表", true, "c:\\表\\"},  // 表 ends in 0x5C but is no separator
    };
    for (const auto& c : cases) {
        sim::reset();
        std::strcpy(buffer, "c:\\Program Files");
        sim::answerBrowse(std::string(c.chosen));
        EXPECT_TRUE(chooser.chooseFolder(buffer, sizeof buffer, 0, c.separator)) << c.chosen;
        EXPECT_STREQ(buffer, c.expected);
        const auto shown = sim::browses();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].owner, owner);
        EXPECT_EQ(shown[0].title, "フォルダを選択してください");
        EXPECT_EQ(shown[0].selection, "c:\\Program Files");
        EXPECT_EQ(sim::liveShellObjects(), 0) << "item list freed and allocator released";
    }
}

TEST_F(FolderChooserTest, ModesGiveTheirFlags) {
    struct Case { int mode; unsigned flags; } cases[] = {{0, 32}, {1, 48}, {2, 52}, {3, 0}, {-1, 0}};
    for (const auto& c : cases) {
        sim::reset();
        sim::answerBrowse(std::string("D:\\"));
        chooser.chooseFolder(buffer, sizeof buffer, c.mode, false);
        ASSERT_EQ(sim::browses().size(), 1u);
        EXPECT_EQ(sim::browses()[0].flags, c.flags) << c.mode;
    }
}

TEST_F(FolderChooserTest, CancelLeavesTheBufferAlone) {
    sim::answerBrowse(std::nullopt);
    EXPECT_FALSE(chooser.chooseFolder(buffer, sizeof buffer, 0, false));
    EXPECT_STREQ(buffer, "c:\\Program Files");
    EXPECT_TRUE(sim::boxes().empty());
}

TEST_F(FolderChooserTest, ItemWithoutAFileSystemPathLeavesTheBufferAlone) {
    sim::answerBrowseWithoutPath("PC");
    EXPECT_FALSE(chooser.chooseFolder(buffer, sizeof buffer, 0, false));
    EXPECT_STREQ(buffer, "c:\\Program Files");
    EXPECT_EQ(sim::liveShellObjects(), 0);
}

TEST_F(FolderChooserTest, PathLongerThanTheCallersBufferIsRefusedWhole) {
    sim::answerBrowse(std::string("D:\\Games\\Long"));
    char small[8] = "c:\\x";
    EXPECT_FALSE(chooser.chooseFolder(small, sizeof small, 0, false));
    EXPECT_STREQ(small, "c:\\x");
}

TEST_F(FolderChooserTest, MissingAllocatorIsReported) {
    sim::answerBrowse(std::string("D:\\"));
    sim::fail(sim::Op::getShellAllocator);
    EXPECT_FALSE(chooser.chooseFolder(buffer, sizeof buffer, 0, false));
    EXPECT_STREQ(buffer, "c:\\Program Files");
    const auto shown = sim::boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].owner, owner);
    EXPECT_EQ(shown[0].text, "SHGetMalloc Error");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].flags, platform::mbOk);
}

TEST_F(FolderChooserTest, TypedNameThatIsNoFolderKeepsTheBrowserOpen) {
    sim::typeInvalidFolder("nonsense");
    sim::answerBrowse(std::string("D:\\Games"));
    EXPECT_TRUE(chooser.chooseFolder(buffer, sizeof buffer, 1, false));
    EXPECT_STREQ(buffer, "D:\\Games");
    const auto shown = sim::boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "不正なフォルダです");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].owner, sim::browses()[0].window);

    // Mode 0 has no edit box, so the message never arises.
    sim::reset();
    sim::typeInvalidFolder("nonsense");
    sim::answerBrowse(std::string("D:\\Games"));
    EXPECT_TRUE(chooser.chooseFolder(buffer, sizeof buffer, 0, false));
    EXPECT_TRUE(sim::boxes().empty());
}

}  // namespace
