// Inputs the fuzz targets (tests/fuzz) broke the program or the sim with, each
// reduced to the texts that matter.
#include <string>

#include "engine_fixture.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace {

class FuzzRegression : public EngineTest {
protected:
    void configureWith(const char* company, const char* folder) {
        const char* install[] = {"Velmora.exe", "readme.txt", nullptr};
        const char* extra[] = {nullptr};
        const char* labels[] = {"Velmora", nullptr};
        engine.configure(install, extra, labels, nullptr, company, "Velmora", folder, 0);
    }
};

// paths_fuzz: the probe for the game on the disc is e:\<folder>\<entry 0>, made
// in a 1024-byte buffer; with a product folder of 250 bytes it is 264 bytes,
// more than Windows opens, and was handed to fopen all the same.
TEST_F(FuzzRegression, DiscProbeLongerThanAPathIsNotOpened) {
    const std::string folder = "V" + repeat('v', 249);
    sim::setDrive('e', platform::driveCdrom, "Velmora");
    sim::writeFile("e:\\" + folder + "\\Velmora.exe", "game");
    configureWith("Quillane", folder.c_str());
    for (const sim::Call& call : sim::callsOf(sim::Op::openStream))
        EXPECT_LE(call.texts[0].size(), 259u) << call.texts[0];
    // Windows cannot open the probe, so the disc is not found.
    EXPECT_EQ(std::string(engine.sourceDir), "c:\\Setup\\" + folder);
}

// paths_fuzz, the sim's part of FuzzRegressionInstall's first case: a folder
// name over 255 bytes fails as on Windows (a file name too long) rather than
// throwing std::filesystem_error.
TEST_F(FuzzRegression, SimMakeDirectoryOfAnOverlongNameFails) {
    const std::string path = "c:\\" + repeat('q', 256);
    int made = 0;
    EXPECT_NO_THROW(made = platform::makeDirectory(path.c_str()));
    EXPECT_EQ(made, -1);
    bool created = true;
    EXPECT_NO_THROW(created = platform::createDirectory(path.c_str()));
    EXPECT_FALSE(created);
}

// paths_fuzz, the sim's part of FuzzRegressionInstall's Start-menu case:
// every byte text comes back from the wide conversion, also a lead byte
// (0xEC, which starts no CP932 character) whose trail is an ASCII byte.
TEST_F(FuzzRegression, SimWidePathOfAnUnassignedLeadByteComesBackWhole) {
    const std::string path = "c:\\Q\xEC" "illane.lnk";
    char16_t wide[text::pathCapacity] = {};
    ASSERT_GT(platform::multiByteToWide(path.c_str(), wide, text::pathCapacity), 0);
    platform::ShellLink link = nullptr;
    ASSERT_EQ(platform::createShellLink(&link), platform::sOk);
    platform::PersistFile file = nullptr;
    ASSERT_EQ(platform::shellLinkQueryPersistFile(link, &file), platform::sOk);
    EXPECT_EQ(platform::persistFileSave(file, wide, true), platform::sOk);
    const auto saves = sim::callsOf(sim::Op::persistFileSave);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].texts[0], path);
    platform::persistFileRelease(file);
    platform::shellLinkRelease(link);
}

}  // namespace
