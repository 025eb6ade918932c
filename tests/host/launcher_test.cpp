#include <string>

#include "engine_fixture.h"

namespace {

class LauncherTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        configureAsEntry();  // sourceDir c:\Setup\Velmora
        text::copy(engine.installDir, sizeof engine.installDir, "c:\\Game");
    }
    std::string openedFile() {
        const auto runs = sim::executed();
        return runs.size() == 1 ? runs[0].file : "<" + std::to_string(runs.size()) + " opened>";
    }
};

TEST_F(LauncherTest, LaunchGameStartsTheExecutableInTheInstallationFolder) {
    sim::writeFile("c:\\Game\\Velmora.exe", "game");
    EXPECT_TRUE(engine.launchGame());
    const auto runs = sim::executed();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].verb, "open");
    EXPECT_EQ(runs[0].file, "c:\\Game\\Velmora.exe");
    EXPECT_EQ(runs[0].parameters, "");
    EXPECT_EQ(runs[0].directory, "");
    EXPECT_EQ(runs[0].currentDirectory, "c:\\Game");
    EXPECT_EQ(sim::callCount(sim::Op::coUninitialize), 1);
}

TEST_F(LauncherTest, MissingExecutableIsOpenedUnchangedAndStillSucceeds) {
    sim::makeDirs("c:\\Game");
    EXPECT_TRUE(engine.launchGame());
    EXPECT_EQ(openedFile(), "c:\\Game\\Velmora.exe");
}

TEST_F(LauncherTest, ComFailuresOpenNothing) {
    struct Case { platform::Status result; bool opens; } cases[] = {
        {platform::eUnexpected, false}, {platform::eOutOfMemory, false},
        {platform::eInvalidArg, false}, {platform::sFalse, true}, {platform::eFail, true},
    };
    for (const auto& c : cases) {
        sim::clearCalls();
        const auto before = sim::executed().size();
        sim::setCoInitializeResult(c.result);
        EXPECT_EQ(engine.openDocument("c:\\Game\\readme.txt", ""), c.opens);
        EXPECT_EQ(sim::executed().size() - before, c.opens ? 1u : 0u);
        EXPECT_EQ(sim::callsOf(sim::Op::coUninitialize).size(), c.opens ? 1u : 0u);
    }
}

TEST_F(LauncherTest, ReadmeOfTheInstallationOrOfTheSource) {
    engine.installed = 1;
    EXPECT_TRUE(engine.openReadme());
    EXPECT_EQ(openedFile(), "c:\\Game\\readme.txt");
    sim::reset();
    engine.installed = 0;
    EXPECT_TRUE(engine.openReadme());
    EXPECT_EQ(openedFile(), "c:\\Setup\\Velmora\\readme.txt");
}

TEST_F(LauncherTest, ManualLiesBesideTheProductFolder) {
    struct Case { std::string source, manual; } cases[] = {
        {"E:\\Velmora", "E:\\manual\\manual.html"},
        {"C:\\Setup\\Velmora", "C:\\Setup\\manual\\manual.html"},
        {"C:\\表\\Velmora", "C:\\表\\manual\\manual.html"},
        {"C:\\ソフト", "C:\\manual\\manual.html"},
    };
    for (const auto& c : cases) {
        sim::reset();
        text::copy(engine.sourceDir, sizeof engine.sourceDir, c.source.c_str());
        engine.openManual();
        EXPECT_EQ(openedFile(), c.manual) << c.source;
    }
}

TEST_F(LauncherTest, ManualWithoutAFolderAboveOpensNothing) {
    for (const char* source : {"Velmora", "", "表"}) {
        sim::reset();
        text::copy(engine.sourceDir, sizeof engine.sourceDir, source);
        engine.openManual();
        EXPECT_TRUE(sim::executed().empty()) << source;
    }
}

TEST_F(LauncherTest, PathsOver259BytesAreNotOpened) {
    const std::string longFolder = "c:\\" + repeat('g', 250);
    text::copy(engine.installDir, sizeof engine.installDir, longFolder.c_str());
    EXPECT_FALSE(engine.launchGame());
    engine.installed = 1;
    EXPECT_FALSE(engine.openReadme());
    text::copy(engine.sourceDir, sizeof engine.sourceDir, (longFolder + "\\Velmora").c_str());
    engine.openManual();
    EXPECT_TRUE(sim::executed().empty());
}

}  // namespace
