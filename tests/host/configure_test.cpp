#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine_fixture.h"

namespace {

using platform::driveCdrom;
using platform::driveFixed;
using platform::driveRamdisk;
using platform::driveRemote;
using platform::driveRemovable;

struct DriveSetup {
    char letter;
    unsigned type;
    std::optional<std::string> label;  // nullopt: cannot be read
    bool hasProbeFile;
};

struct SourceCase {
    const char* what;
    std::vector<DriveSetup> drives;
    const char* expectedSource;  // after configure
};

void PrintTo(const SourceCase& c, std::ostream* os) { *os << c.what; }

class FindSourceTest : public EngineTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(FindSourceTest, FindsTheDiscOrFallsBackToTheProgramsFolder) {
    sim::setModulePath("C:\\Temp\\Upd\\Update.exe");
    for (const auto& d : GetParam().drives) {
        sim::setDrive(d.letter, d.type, d.label);
        if (d.hasProbeFile)
            sim::writeFile(std::string(1, d.letter) + ":\\Velmora\\Velmora.exe", "game");
    }
    configureAsEntry();
    EXPECT_STREQ(engine.sourceDir, GetParam().expectedSource);
    EXPECT_EQ(engine.installed, 0);
}

const char* fallback = "C:\\Temp\\Upd\\Velmora";

INSTANTIATE_TEST_SUITE_P(
    Drives, FindSourceTest,
    ::testing::Values(
        SourceCase{"disc on e", {{'e', driveCdrom, "Velmora", true}}, "e:\\Velmora"},
        SourceCase{"label without the probe file", {{'e', driveCdrom, "Velmora", false}}, fallback},
        SourceCase{"label differing in case", {{'e', driveCdrom, "VELMORA", true}}, fallback},
        SourceCase{"label with a suffix", {{'e', driveCdrom, "Velmora2", true}}, fallback},
        SourceCase{"fixed drive", {{'d', driveFixed, "Velmora", true}}, fallback},
        SourceCase{"removable drive", {{'d', driveRemovable, "Velmora", true}}, fallback},
        SourceCase{"network drive", {{'d', driveRemote, "Velmora", true}}, fallback},
        SourceCase{"RAM drive", {{'d', driveRamdisk, "Velmora", true}}, fallback},
        SourceCase{"two discs: the earlier letter",
                   {{'g', driveCdrom, "Velmora", true}, {'e', driveCdrom, "Velmora", true}},
                   "e:\\Velmora"},
        SourceCase{"a disc on z", {{'z', driveCdrom, "Velmora", true}}, "z:\\Velmora"},
        // The unreadable drive must not be compared with d:'s label.
        SourceCase{"unreadable label after a labelled drive",
                   {{'d', driveCdrom, "Velmora", false}, {'e', driveCdrom, std::nullopt, true}},
                   fallback},
        SourceCase{"unreadable label first", {{'e', driveCdrom, std::nullopt, true}}, fallback},
        SourceCase{"discs on a and b are never examined",
                   {{'a', driveCdrom, "Velmora", true}, {'b', driveCdrom, "Velmora", true}},
                   fallback}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_F(EngineTest, FindSourceProbesTheDrivesCToZInOrder) {
    configureAsEntry();
    std::vector<std::string> distinct;
    for (const auto& root : sim::probedRoots())
        if (distinct.empty() || distinct.back() != root) distinct.push_back(root);
    std::vector<std::string> expected;
    for (char c = 'c'; c <= 'z'; ++c) expected.push_back(std::string(1, c) + ":\\");
    EXPECT_EQ(distinct, expected);
}

TEST_F(EngineTest, ConfigureCopiesTheProfileWithoutARecord) {
    configureAsEntry();
    EXPECT_STREQ(fileListEntry(engine.installFiles, 0), "Velmora.exe");
    EXPECT_STREQ(fileListEntry(engine.installFiles, 28), "movie/ED.mpg");
    EXPECT_STREQ(fileListEntry(engine.installFiles, 29), "");
    EXPECT_STREQ(fileListEntry(engine.extraFiles, 9), "srp_6.pac");
    EXPECT_STREQ(fileListEntry(engine.mediaLabels, 0), "Velmora");
    EXPECT_STREQ(engine.companyName, "Quillane");
    EXPECT_STREQ(engine.productName, "Velmora");
    EXPECT_STREQ(engine.productFolder, "Velmora");
    EXPECT_STREQ(engine.sourceDir, "c:\\Setup\\Velmora");
    EXPECT_STREQ(engine.installBase, "c:\\Program Files");
    EXPECT_EQ(engine.requiredMegabytes, 1617u);
    EXPECT_EQ(engine.dialogWindow, nullptr);
    EXPECT_EQ(engine.installed, 0);
    EXPECT_EQ(engine.registryKey, nullptr);
    EXPECT_EQ(sim::openKeyCount(), 0);
}

TEST_F(EngineTest, ConfigureTakesTheRecordOverTheDiscFound) {
    sim::setDrive('e', driveCdrom, "Velmora");
    sim::writeFile("e:\\Velmora\\Velmora.exe", "game");
    sim::setStringValue("SOFTWARE\\Quillane\\Velmora", "Dir", "d:\\Games\\Quillane\\Velmora");
    sim::setStringValue("SOFTWARE\\Quillane\\Velmora", "CD", "f:\\Velmora");
    sim::setDwordValue("SOFTWARE\\Quillane\\Velmora", "InstType", 2);
    configureAsEntry();
    EXPECT_EQ(engine.installed, 1);
    EXPECT_STREQ(engine.installDir, "d:\\Games\\Quillane\\Velmora");
    EXPECT_STREQ(engine.sourceDir, "f:\\Velmora");
    EXPECT_EQ(engine.installType, 2);
    EXPECT_EQ(engine.registryKey, nullptr);
}

TEST_F(EngineTest, ADeeplyNestedProgramLeavesTheSourceFolderEmptyNotCut) {
    // 250 bytes of folder: with "\Velmora" the source folder would pass 259 bytes.
    const std::string folder = "c:\\" + repeat('d', 247);
    sim::setModulePath(folder + "\\Update.exe");
    configureAsEntry();
    EXPECT_STREQ(engine.sourceDir, "");

    // A module path that fills GetModuleFileNameA's buffer was cut short: not used.
    engine.restoreDefaults();
    sim::setModulePath("c:\\" + repeat('p', 300) + "\\Update.exe");
    configureAsEntry();
    EXPECT_STREQ(engine.sourceDir, "");
}

TEST_F(EngineTest, TextsOverTheirFieldsAreNotCopied) {
    const std::string longName = repeat('q', 300);
    engine.configure(productProfile.installList, productProfile.extraList,
                     productProfile.mediaLabelList, nullptr, longName.c_str(), "Velmora",
                     longName.c_str(), 10);
    EXPECT_STREQ(engine.companyName, "");
    EXPECT_STREQ(engine.productFolder, "");
    EXPECT_STREQ(engine.productName, "Velmora");
}

TEST_F(EngineTest, AccessorsSetTheirFields) {
    engine.setInstallType(1, 0, 11);
    EXPECT_EQ(engine.installType, 1);
    EXPECT_EQ(engine.firstFile, 0);
    EXPECT_EQ(engine.endFile, 11);
    engine.setProgressControl(1005);
    EXPECT_EQ(engine.progressControlId, 1005);
    engine.setRequiredMegabytes(2300);
    EXPECT_EQ(engine.requiredMegabytes, 2300u);
    for (int busy : {0, 2, -1, 99}) {
        engine.busy = busy;
        EXPECT_FALSE(engine.isBusy()) << busy;
    }
    engine.busy = 1;
    EXPECT_TRUE(engine.isBusy());
    engine.busy = 0;

    configureAsEntry();
    char small[8];
    EXPECT_FALSE(engine.copySourceDir(small, sizeof small));
    EXPECT_STREQ(small, "");
    char whole[1024];
    EXPECT_TRUE(engine.copySourceDir(whole, sizeof whole));
    EXPECT_STREQ(whole, "c:\\Setup\\Velmora");
}

TEST_F(EngineTest, DefaultsAreThoseOfAFreshEngine) {
    EXPECT_EQ(engine.installFiles, nullptr);
    EXPECT_EQ(engine.mediaLabelCount, 1);
    EXPECT_EQ(engine.endFile, 9999);
    for (unsigned char s : engine.selected) EXPECT_EQ(s, 1);
    EXPECT_STREQ(engine.installBase, "c:\\Program Files");
    EXPECT_EQ(engine.cancelState.load(), 0);
}

}  // namespace
