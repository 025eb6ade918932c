// Drive kinds, volume labels, free space and the program's own path.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/constants.h"
#include "platform/drives.h"
#include "platform/process.h"
#include "platform/sim/sim.h"

using namespace platform;

namespace {

class SimDrives : public ::testing::Test {
protected:
    void SetUp() override { sim::reset(); }
};

TEST_F(SimDrives, KindsAndLabelsOfTheDriveTable) {
    sim::setDrive('e', driveCdrom, std::string("Velmora"));
    sim::setDrive('f', driveCdrom, std::nullopt);  // no disc in it
    struct Case {
        const char* root;
        unsigned kind;
        const char* label;  // null: the label cannot be read
    };
    const Case cases[] = {
        {"c:\\", driveFixed, "SYSTEM"}, {"e:\\", driveCdrom, "Velmora"},
        {"E:\\", driveCdrom, "Velmora"}, {"f:\\", driveCdrom, nullptr},
        {"g:\\", driveNoRootDir, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(getDriveType(c.root), c.kind) << c.root;
        char label[256] = "untouched";
        bool read = getVolumeInformation(c.root, label, sizeof label);
        EXPECT_EQ(read, c.label != nullptr) << c.root;
        EXPECT_STREQ(label, c.label ? c.label : "untouched") << c.root;
    }
    sim::removeDrive('e');
    EXPECT_EQ(getDriveType("e:\\"), driveNoRootDir);
}

TEST_F(SimDrives, ALabelMustFitTheBufferWithItsNul) {
    sim::setDrive('d', driveCdrom, std::string("Velmora"));
    char label[8];
    EXPECT_TRUE(getVolumeInformation("d:\\", label, 8));
    EXPECT_STREQ(label, "Velmora");
    char small[7] = "zzzzzz";
    EXPECT_FALSE(getVolumeInformation("d:\\", small, 7));
    EXPECT_EQ(small[6], '\0');
    EXPECT_EQ(std::string(small), "zzzzzz") << "nothing written past or into the buffer";
}

TEST_F(SimDrives, ProbedRootsListWhatWasAskedInOrder) {
    for (char letter = 'c'; letter <= 'e'; ++letter) {
        char root[4] = {letter, ':', '\\', '\0'};
        getDriveType(root);
        char label[256];
        getVolumeInformation(root, label, sizeof label);
    }
    EXPECT_EQ(sim::probedRoots(), (std::vector<std::string>{"c:\\", "d:\\", "e:\\"}));
}

TEST_F(SimDrives, FreeSpaceOfTheDriveHoldingAnExistingFolder) {
    std::uint64_t free = 0;
    ASSERT_TRUE(getDiskFreeSpace("c:\\", &free));
    EXPECT_EQ(free, 100ull << 30);
    sim::setDrive('d', driveFixed, std::string("DATA"));
    sim::setFreeBytes('d', (600ull << 20) + 5);
    sim::makeDirs("d:\\Games");
    EXPECT_TRUE(getDiskFreeSpace("D:", &free));
    EXPECT_EQ(free, (600ull << 20) + 5);
    EXPECT_TRUE(getDiskFreeSpace("d:\\Games", &free));
    EXPECT_FALSE(getDiskFreeSpace("d:\\Nothing\\Here", &free)) << "a folder that does not exist";
    EXPECT_FALSE(getDiskFreeSpace("q:\\", &free));
}

TEST_F(SimDrives, ModuleFileNameIsCutToTheBuffer) {
    sim::setModulePath("c:\\Setup\\Update.exe");  // 19 bytes
    struct Case {
        std::uint32_t size, result;
        const char* text;
    };
    const Case cases[] = {
        {260, 19, "c:\\Setup\\Update.exe"},
        {20, 19, "c:\\Setup\\Update.exe"},
        {19, 19, "c:\\Setup\\Update.ex"},
        {4, 4, "c:\\"},
    };
    for (const Case& c : cases) {
        char buffer[300];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(getModuleFileName(buffer, c.size), c.result) << c.size;
        EXPECT_STREQ(buffer, c.text) << c.size;
        EXPECT_EQ(buffer[c.size], '#') << "nothing beyond the buffer";
    }
    char none[1];
    EXPECT_EQ(getModuleFileName(none, 0), 0u);
}

}  // namespace
