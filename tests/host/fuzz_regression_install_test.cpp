// Inputs the paths fuzz target broke the install and the Start-menu entries
// with, reduced to the texts that matter.
#include <string>

#include "engine_fixture.h"

namespace {

class FuzzRegressionInstall : public EngineTest {};

// paths_fuzz: with an empty base, the company name alone (256 bytes) and no
// product folder or list names, installDir is \<company>\ and fits; making it
// threw std::filesystem_error out of the sim instead of failing.
TEST_F(FuzzRegressionInstall, InstallIntoAFolderNameTooLongForTheDiskFails) {
    const std::string company = "Q" + repeat('q', 255);
    const char* none[] = {nullptr};
    engine.configure(none, none, none, nullptr, company.c_str(), "P", "", 0);
    engine.installBase[0] = '\0';
    bool installed = true;
    EXPECT_NO_THROW(installed = engine.install());
    EXPECT_FALSE(installed);
}

// paths_fuzz: a company name with 0xEC 0x69, a lead byte that starts no CP932
// character followed by an ASCII byte. The link's path made its way through
// the wide conversion as Q\xEC?llane, so it was saved in no folder and
// createStartMenuEntries failed.
TEST_F(FuzzRegressionInstall, StartMenuEntriesOfAnUnassignedDoubleByteName) {
    const char* install[] = {"Velmora.exe", nullptr};
    const char* none[] = {nullptr};
    engine.configure(install, none, none, nullptr, "Q\xEC" "illane", "Velmora", "Velmora", 0);
    text::copy(engine.installDir, sizeof engine.installDir, "c:\\Game");
    EXPECT_TRUE(engine.createStartMenuEntries(1));
    EXPECT_TRUE(sim::link("c:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\"
                          "Q\xEC" "illane\\Velmora\\Velmora.lnk"));
}

}  // namespace
