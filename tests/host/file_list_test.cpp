#include <gtest/gtest.h>

#include <string>

#include "engine/file_list.h"
#include "platform/sim/sim.h"
#include "shell/product_profile.h"

namespace {

class FileListTest : public ::testing::Test {
protected:
    void SetUp() override { sim::reset(); }
};

TEST_F(FileListTest, TwentyNineNamesGiveThirtyBuffersTheLastEmpty) {
    FileList list = copyFileList(nullptr, productProfile.installList);
    for (int i = 0; i < installListLength; ++i)
        EXPECT_STREQ(list[i], productProfile.installList[i]) << i;
    EXPECT_STREQ(list[installListLength], "");
    EXPECT_EQ(sim::callCount(sim::Op::allocateZeroed), 1 + installListLength + 1);
    releaseFileList(list);
    EXPECT_EQ(sim::liveAllocations(), 0);
}

TEST_F(FileListTest, NullFirstEntryGivesOneEmptyBuffer) {
    const char* table[] = {nullptr};
    FileList list = copyFileList(nullptr, table);
    EXPECT_STREQ(list[0], "");
    EXPECT_EQ(sim::callCount(sim::Op::allocateZeroed), 2);  // the array and one buffer
    EXPECT_STREQ(fileListEntry(list, 0), "");
    EXPECT_STREQ(fileListEntry(list, 5), "");  // past the end reads as the end
    releaseFileList(list);
    EXPECT_EQ(sim::liveAllocations(), 0);
}

TEST_F(FileListTest, CopyingFreesTheOldList) {
    FileList list = copyFileList(nullptr, productProfile.extraList);
    list = copyFileList(list, productProfile.installList);
    EXPECT_STREQ(list[0], "ExecuteProgram");
    releaseFileList(list);
    releaseFileList(nullptr);
    EXPECT_EQ(sim::liveAllocations(), 0);
}

TEST_F(FileListTest, NamesThatCannotBeHeldKeepTheOtherIndexes) {
    const std::string longest(127, 'n');
    const std::string tooLong(128, 'n');
    const char* table[] = {"a.exe", tooLong.c_str(), "", longest.c_str(), "z.pac", nullptr};
    FileList list = copyFileList(nullptr, table);
    EXPECT_STREQ(list[0], "a.exe");
    EXPECT_STREQ(list[1], refusedFileName);
    EXPECT_STREQ(list[2], refusedFileName);  // an empty name would end the list early
    EXPECT_EQ(std::string(list[3]), longest);
    EXPECT_STREQ(list[4], "z.pac");
    EXPECT_STREQ(list[5], "");
    releaseFileList(list);
    EXPECT_EQ(sim::liveAllocations(), 0);
}

TEST_F(FileListTest, NoMemoryGivesAValidEmptyListAtEveryAllocation) {
    for (int k = 1; k <= 1 + installListLength + 1; ++k) {
        sim::reset();
        sim::fail(sim::Op::allocateZeroed, k, 1);
        FileList list = copyFileList(nullptr, productProfile.installList);
        ASSERT_NE(list, nullptr) << k;
        EXPECT_STREQ(fileListEntry(list, 0), "") << k;
        releaseFileList(list);
        EXPECT_EQ(sim::liveAllocations(), 0) << k;
    }
}

}  // namespace
