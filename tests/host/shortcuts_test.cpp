#include <cstring>
#include <string>
#include <vector>

#include "engine/shortcuts.h"
#include "engine_fixture.h"

namespace {

const std::string installDir = "c:\\Program Files\\Quillane\\Velmora";
const std::string programs = "c:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
const std::string startMenu = "c:\\ProgramData\\Microsoft\\Windows\\Start Menu";
const std::string companyMenu = programs + "\\Quillane";
const std::string productMenu = companyMenu + "\\Velmora";

class ShortcutsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        configureAsEntry();
        text::copy(engine.installDir, sizeof engine.installDir, installDir.c_str());
    }
    static std::string linkIn(const std::string& folder, const std::string& name) {
        return folder + "\\" + name + ".lnk";
    }
    static int calls(sim::Op op) { return sim::callCount(op); }
};

TEST_F(ShortcutsTest, MakesTheThreeLinksOfTheProductInTheProgramsFolder) {
    ASSERT_TRUE(engine.createStartMenuEntries(1));
    EXPECT_EQ(engine.shellFolder, programs);
    struct Expected { const char* name; const char* target; } expected[] = {
        {"Velmora", "Velmora.exe"}, {"README", "readme.txt"}, {"アンインストール", "uninst.exe"},
    };
    for (const auto& e : expected) {
        const auto link = sim::link(linkIn(productMenu, e.name));
        ASSERT_TRUE(link) << e.name;
        EXPECT_EQ(link->target, installDir + "\\" + e.target);
        EXPECT_EQ(link->workingDirectory, installDir);
        EXPECT_EQ(link->iconPath, "");
        EXPECT_EQ(link->iconIndex, 0);
        EXPECT_EQ(link->hotkey, 0);
        EXPECT_EQ(link->description, "");
        EXPECT_EQ(link->showCommand, platform::swShow);
    }
    // Each link with its own COM initialisation, every interface released.
    EXPECT_EQ(calls(sim::Op::coInitialize), 3);
    EXPECT_EQ(calls(sim::Op::coUninitialize), 3);
    EXPECT_EQ(sim::liveShellObjects(), 0);
    const auto saved = sim::callsOf(sim::Op::persistFileSave);
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0].numbers[0], 1u) << "saved with remember";

    // A second time the folders exist and are simply used.
    EXPECT_TRUE(engine.createStartMenuEntries(1));
}

TEST_F(ShortcutsTest, FolderKindChoosesTheSpecialFolder) {
    EXPECT_TRUE(engine.createStartMenuEntries(0));
    EXPECT_EQ(engine.shellFolder, startMenu);
    EXPECT_TRUE(sim::link(linkIn(startMenu + "\\Quillane\\Velmora", "README")));

    sim::clearCalls();
    EXPECT_FALSE(engine.createStartMenuEntries(2));
    EXPECT_EQ(engine.shellFolder[0], '\0');
    EXPECT_TRUE(sim::callsOf(sim::Op::getSpecialFolderPath).empty());
    EXPECT_TRUE(sim::callsOf(sim::Op::makeDirectory).empty());
}

TEST_F(ShortcutsTest, AFailedFirstLinkStopsTheRest) {
    sim::fail(sim::Op::persistFileSave);  // the next save only
    EXPECT_FALSE(engine.createStartMenuEntries(1));
    EXPECT_FALSE(sim::link(linkIn(productMenu, "README"))) << "not tried";
    EXPECT_FALSE(sim::link(linkIn(productMenu, "アンインストール"))) << "not tried";
    EXPECT_TRUE(sim::dirExists(productMenu));
    EXPECT_EQ(sim::liveShellObjects(), 0) << "both interfaces released after the failed save";
    EXPECT_EQ(calls(sim::Op::coUninitialize), 1);
}

TEST_F(ShortcutsTest, ComResultsThatCountAsFailureAndThoseThatDoNot) {
    struct Case { platform::Status result; bool initialised; } cases[] = {
        {platform::eUnexpected, false},
        {platform::eOutOfMemory, false},
        {platform::eInvalidArg, false},
        {platform::sOk, true},
        {platform::sFalse, true},                                   // already initialised
        {static_cast<platform::Status>(0x80010106u), true},         // RPC_E_CHANGED_MODE
    };
    for (const auto& c : cases) {
        SetUp();
        sim::makeDirs(productMenu);
        sim::setCoInitializeResult(c.result);
        EXPECT_EQ(createShortcut(productMenu.c_str(), installDir.c_str(), "Velmora.exe", "Velmora"),
                  c.initialised)
            << std::hex << c.result;
        EXPECT_EQ(calls(sim::Op::createShellLink), c.initialised ? 1 : 0) << std::hex << c.result;
        EXPECT_EQ(calls(sim::Op::coUninitialize), c.initialised ? 1 : 0) << std::hex << c.result;
    }
}

TEST_F(ShortcutsTest, ALinkObjectThatCannotBeMadeOrLacksIPersistFileFails) {
    for (sim::Op failing : {sim::Op::createShellLink, sim::Op::shellLinkQueryPersistFile}) {
        SetUp();
        sim::makeDirs(productMenu);
        sim::fail(failing);
        EXPECT_FALSE(createShortcut(productMenu.c_str(), installDir.c_str(), "Velmora.exe", "x"));
        EXPECT_EQ(sim::liveShellObjects(), 0) << sim::opName(failing);
        EXPECT_EQ(calls(sim::Op::coUninitialize), 1) << sim::opName(failing);
        EXPECT_TRUE(sim::callsOf(sim::Op::persistFileSave).empty());
    }
}

TEST_F(ShortcutsTest, PathsThatWouldNotFitAreRefusedWithoutShellWork) {
    sim::makeDirs(productMenu);
    const std::string longDir = "c:\\" + repeat('d', 245);  // with "\Velmora.exe": 260
    EXPECT_FALSE(createShortcut(productMenu.c_str(), longDir.c_str(), "Velmora.exe", "Velmora"));
    const std::string longFolder = "c:\\" + repeat('f', 245);  // with "\Velmora.lnk": 260
    EXPECT_FALSE(createShortcut(longFolder.c_str(), installDir.c_str(), "Velmora.exe", "Velmora"));
    EXPECT_EQ(calls(sim::Op::coInitialize), 0);

    // A special folder that leaves no room for the company and product folders.
    sim::setSpecialFolder(platform::csidlCommonPrograms, "c:\\" + repeat('s', 245));
    EXPECT_FALSE(engine.createStartMenuEntries(1));
    EXPECT_TRUE(sim::callsOf(sim::Op::makeDirectory).empty());
}

TEST_F(ShortcutsTest, WithoutTheSpecialFolderNothingGoesToTheDrivesRoot) {
    sim::setSpecialFolder(platform::csidlCommonPrograms, std::nullopt);
    EXPECT_FALSE(engine.createStartMenuEntries(1));
    EXPECT_EQ(engine.shellFolder[0], '\0');
    EXPECT_FALSE(sim::dirExists("c:\\Quillane"));

    sim::writeFile("c:\\Quillane\\Velmora\\README.lnk", "someone else's");
    EXPECT_EQ(engine.removeStartMenuEntries(), -1);
    EXPECT_TRUE(sim::fileExists("c:\\Quillane\\Velmora\\README.lnk"));
}

TEST_F(ShortcutsTest, RemovalTakesTheLinksAndOnlyEmptyFolders) {
    struct Case {
        const char* name;
        std::vector<std::string> before;  // files besides the three links
        bool linksToo;
        bool productStays, companyStays;
        int result;
    } cases[] = {
        {"all ours", {}, true, false, false, 0},
        {"links already gone", {}, false, false, false, 0},
        {"another product", {companyMenu + "\\Other\\Other.lnk"}, true, false, true, -1},
        {"a file the user added", {productMenu + "\\notes.txt"}, true, true, true, -1},
    };
    for (const auto& c : cases) {
        SetUp();
        sim::makeDirs(productMenu);
        if (c.linksToo) {
            ASSERT_TRUE(engine.createStartMenuEntries(1)) << c.name;
        }
        for (const auto& f : c.before) sim::writeFile(f, "x");
        EXPECT_EQ(engine.removeStartMenuEntries(), c.result) << c.name;
        for (const char* name : {"Velmora", "README", "アンインストール"})
            EXPECT_FALSE(sim::fileExists(linkIn(productMenu, name))) << c.name << " " << name;
        EXPECT_EQ(sim::dirExists(productMenu), c.productStays) << c.name;
        EXPECT_EQ(sim::dirExists(companyMenu), c.companyStays) << c.name;
        for (const auto& f : c.before) EXPECT_TRUE(sim::fileExists(f)) << c.name;
    }
}

TEST_F(ShortcutsTest, SpecialFolderPathZeroesTheBufferAndGivesTheShellsAnswer) {
    char buffer[260];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(getSpecialFolderPath(platform::csidlCommonPrograms, buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), programs);
    EXPECT_EQ(buffer[sizeof buffer - 1], '\0');
    const auto asked = sim::callsOf(sim::Op::getSpecialFolderPath);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].numbers, (std::vector<std::uint64_t>{23, 0})) << "never created";

    sim::setSpecialFolder(platform::csidlCommonPrograms, std::nullopt);
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(getSpecialFolderPath(platform::csidlCommonPrograms, buffer, sizeof buffer));
    EXPECT_EQ(buffer[0], '\0');
}

}  // namespace
