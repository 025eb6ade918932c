#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/product_profile.h"

namespace {

int tableLength(const char** table) {
    int n = 0;
    while (table[n] != nullptr) ++n;
    return n;
}

TEST(ProductProfileTest, NamesAreTheProductsShiftJisBytes) {
    // "Velmora", the ideographic space 81 40, then セットアップ.
    EXPECT_STREQ(productProfile.windowClassName,
                 "Velmora\x81\x40\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76");
    EXPECT_STREQ(productProfile.productTitle, "Velmora");
    EXPECT_STREQ(productProfile.studioName, "Quillane");
    EXPECT_STREQ(productProfile.productFolderName, "Velmora");
    EXPECT_STREQ(productProfile.executableName, "Velmora.exe");
    EXPECT_STREQ(productProfile.productKeyPath, "SOFTWARE\\Quillane\\Velmora");
    EXPECT_EQ(productProfile.installMegabytes, 1617u);
    EXPECT_EQ(productProfile.type1Megabytes, 1617u);
    EXPECT_EQ(productProfile.type2Megabytes, 1617u);
}

TEST(ProductProfileTest, ListsHoldTheirNamesAtTheirIndexes) {
    ASSERT_EQ(tableLength(productProfile.installList), installListLength);
    ASSERT_EQ(tableLength(productProfile.extraList), extraListLength);
    ASSERT_EQ(tableLength(productProfile.mediaLabelList), 1);
    EXPECT_STREQ(productProfile.installList[0], "ExecuteProgram");  // until the entry sets it
    struct Entry { int index; const char* name; } entries[] = {
        {1, "grd.pac"}, {2, "vic.pac"}, {5, "mus.pac"}, {10, "readme.txt"},
        {11, "uninst.exe"}, {19, "Hgrd.pac"}, {20, "Setting.exe"}, {27, "debuglog.txt"},
        {28, "movie/ED.mpg"},
    };
    for (const auto& e : entries) EXPECT_STREQ(productProfile.installList[e.index], e.name);
    // The first six extras are also install entries 21 to 26.
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(productProfile.extraList[i], productProfile.installList[21 + i]);
    EXPECT_STREQ(productProfile.extraList[9], "srp_6.pac");
    EXPECT_STREQ(productProfile.mediaLabelList[0], "Velmora");
}

}  // namespace
