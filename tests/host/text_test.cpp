#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/text.h"

namespace {

// ソ is 83 5C and 表 is 95 5C in code page 932: their second byte is a backslash.
const std::string so = "\x83\x5C";
const std::string hyo = "\x95\x5C";

TEST(TextTest, LastBackslashStepsOverDoubleByteCharacters) {
    struct Case { std::string path; long expected; } cases[] = {
        {"c:\\Setup\\Update.exe", 8},
        {"c:\\" + so + "フト\\Update.exe", 9},       // the real one after フト
        {"c:\\" + hyo, 2},                           // 表 ends the text
        {"c:\\a" + so, 2},
        {"Update.exe", -1},
        {so + hyo, -1},
        {"\x83", -1},                                // a lone lead byte
    };
    for (const auto& c : cases) {
        const char* found = text::lastBackslash(c.path.c_str());
        const long at = found == nullptr ? -1 : static_cast<long>(found - c.path.c_str());
        EXPECT_EQ(at, c.expected) << c.path;
    }
}

TEST(TextTest, TrailingBackslashIsARealOne) {
    EXPECT_TRUE(text::endsWithBackslash("c:\\"));
    EXPECT_TRUE(text::endsWithBackslash(("d:\\" + so + "\\").c_str()));
    EXPECT_FALSE(text::endsWithBackslash(("d:\\" + so).c_str()));
    EXPECT_FALSE(text::endsWithBackslash(("d:\\" + hyo).c_str()));
    EXPECT_FALSE(text::endsWithBackslash(""));
}

TEST(TextTest, NextBackslashFindsOnlyRealOnes) {
    const std::string path = "c:\\" + hyo + "示\\x";
    EXPECT_EQ(text::nextBackslash(path.c_str(), 0), 2);
    EXPECT_EQ(text::nextBackslash(path.c_str(), 3), 7);  // not the trail byte at 4
    EXPECT_EQ(text::nextBackslash(path.c_str(), 8), -1);
}

TEST(TextTest, FormatRefusesWhatDoesNotFitAndLeavesNoPrefix) {
    char buffer[8];
    EXPECT_TRUE(text::format(buffer, sizeof buffer, "%s\\%s", "ab", "cde"));
    EXPECT_STREQ(buffer, "ab\\cde");
    EXPECT_FALSE(text::format(buffer, sizeof buffer, "%s\\%s", "abc", "defg"));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(text::copy(buffer, sizeof buffer, "12345678"));
    EXPECT_STREQ(buffer, "");
}

TEST(TextTest, JoinPathRefusesAnEmptyFolderAndOverlongPaths) {
    char path[text::pathCapacity];
    EXPECT_TRUE(text::joinPath(path, sizeof path, "c:\\Game", "movie/ED.mpg"));
    EXPECT_STREQ(path, "c:\\Game\\movie/ED.mpg");
    EXPECT_FALSE(text::joinPath(path, sizeof path, "", "grd.pac"));
    const std::string folder(250, 'f');
    EXPECT_TRUE(text::joinPath(path, sizeof path, folder.c_str(), "12345678"));  // 259 bytes
    EXPECT_FALSE(text::joinPath(path, sizeof path, folder.c_str(), "123456789"));
    EXPECT_TRUE(text::joinPath(path, sizeof path, "e:", "Velmora", "Velmora.exe"));
    EXPECT_STREQ(path, "e:\\Velmora\\Velmora.exe");
}

}  // namespace
