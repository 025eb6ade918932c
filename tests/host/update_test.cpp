#include <cstdio>
#include <string>
#include <vector>

#include "engine_fixture.h"

namespace {

const std::string updateFolder = "c:\\Upd\\Velmora\\";
const std::string gameFolder = "c:\\Game\\";

platform::FileTime at(std::uint32_t n) { return {n, 0x01D00000u}; }

class UpdateTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        sim::setModulePath("c:\\Upd\\Update.exe");
        configureAsEntry();
        text::copy(engine.installDir, sizeof engine.installDir, "c:\\Game");
        engine.installed = 1;
        sim::makeDirs("c:\\Game\\movie");
        sim::setFileClock(at(1));
        int n = 0;
        for (const std::string& name : names()) {
            ++n;
            sim::writeFile(updateFolder + name, "new " + name);
            sim::setFileTimes(updateFolder + name, {at(100 + n), at(200 + n), at(300 + n)});
            sim::writeFile(gameFolder + name, "old");
        }
        sim::setFileClock(at(9));
    }
    // Every name of both lists, each once.
    std::vector<std::string> names() {
        std::vector<std::string> all;
        for (FileList list : {engine.installFiles, engine.extraFiles})
            for (int i = 0; fileListEntry(list, i)[0] != '\0'; ++i) {
                const std::string name = fileListEntry(list, i);
                bool seen = false;
                for (const auto& n : all) seen = seen || n == name;
                if (!seen) all.push_back(name);
            }
        return all;
    }
    void expectReplaced(const std::string& name) {
        EXPECT_EQ(sim::readFile(gameFolder + name), "new " + name) << name;
        const auto s = sim::fileTimes(updateFolder + name);
        const auto t = sim::fileTimes(gameFolder + name);
        EXPECT_EQ(t.creation, s.creation) << name;
        EXPECT_EQ(t.lastAccess, s.lastAccess) << name;
        EXPECT_EQ(t.lastWrite, s.lastWrite) << name;
        EXPECT_EQ(sim::attributes(gameFolder + name), platform::fileAttributeNormal) << name;
    }
    void expectCompletionBox() {
        const auto shown = sim::boxes();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "アップデートが完了しました。");
        EXPECT_EQ(shown[0].caption, "終了");
        EXPECT_EQ(shown[0].flags, platform::mbOk | platform::mbIconWarning);
        EXPECT_EQ(shown[0].owner, nullptr);
    }
};

TEST_F(UpdateTest, ReplacesEveryFileWithItsSourcesTimesAndTellsTheUser) {
    engine.cancelState = 1;  // left by an aborted install: must not empty a target
    sim::setAttributes(gameFolder + "grd.pac", 0x20);  // archive: becomes normal
    engine.updateInstallation();
    for (const auto& name : names()) expectReplaced(name);
    EXPECT_STREQ(engine.sourceDir, "c:\\Upd");
    expectCompletionBox();
    EXPECT_EQ(engine.cancelState.load(), 0);
}

TEST_F(UpdateTest, NeverTouchesTheRecord) {
    sim::setStringValue("SOFTWARE\\Quillane\\Velmora", "CD", "e:\\Velmora");
    sim::clearCalls();
    engine.updateInstallation();
    for (const auto& call : sim::calls()) {
        EXPECT_NE(call.op, sim::Op::regSetValue);
        EXPECT_NE(call.op, sim::Op::regCreateKey);
        EXPECT_NE(call.op, sim::Op::regDeleteKey);
    }
    EXPECT_EQ(sim::value("SOFTWARE\\Quillane\\Velmora", "CD")->data,
              std::string("e:\\Velmora\0", 11));
}

TEST_F(UpdateTest, NameInBothListsIsCopiedInEachPass) {
    engine.updateInstallation();
    int copies = 0;
    for (const auto& call : sim::callsOf(sim::Op::openStream))
        if (call.texts[0] == gameFolder + "grd_2.pac") ++copies;
    EXPECT_EQ(copies, 2);
    expectReplaced("grd_2.pac");
}

TEST_F(UpdateTest, MissingSourceKeepsTheTargetButClearsItsAttributes) {
    std::remove(sim::hostPath(updateFolder + "vic.pac").c_str());
    sim::setAttributes(gameFolder + "vic.pac", platform::fileAttributeReadonly);
    const auto before = sim::fileTimes(gameFolder + "vic.pac");
    engine.updateInstallation();
    EXPECT_EQ(sim::readFile(gameFolder + "vic.pac"), "old");
    EXPECT_EQ(sim::fileTimes(gameFolder + "vic.pac").lastWrite, before.lastWrite);
    EXPECT_EQ(sim::attributes(gameFolder + "vic.pac"), platform::fileAttributeNormal);
    expectReplaced("se.pac");
    expectCompletionBox();
}

TEST_F(UpdateTest, ReadOnlyTargetKeepsItsContentsTakesTheTimesAndTheUpdateGoesOn) {
    sim::setAttributes(gameFolder + "vic.pac", platform::fileAttributeReadonly);
    engine.updateInstallation();
    EXPECT_EQ(sim::readFile(gameFolder + "vic.pac"), "old");
    EXPECT_EQ(sim::attributes(gameFolder + "vic.pac"), platform::fileAttributeNormal);
    EXPECT_EQ(sim::fileTimes(gameFolder + "vic.pac").lastWrite,
              sim::fileTimes(updateFolder + "vic.pac").lastWrite);
    expectReplaced("srp_6.pac");
    expectCompletionBox();
}

TEST_F(UpdateTest, TargetHeldOpenStopsTheWholeUpdateSilently) {
    // The running game holds its executable without sharing.
    const int token = sim::holdOpen(gameFolder + "Velmora.exe",
                                    platform::genericRead | platform::genericWrite,
                                    platform::fileShareNone);
    engine.updateInstallation();
    sim::release(token);
    for (const auto& name : names()) EXPECT_EQ(sim::readFile(gameFolder + name), "old") << name;
    EXPECT_TRUE(sim::boxes().empty());
}

TEST_F(UpdateTest, TargetHeldBySharingReaderStopsAfterItsCopyFailed) {
    // A holder that lets others read but not write: the copy cannot write, and
    // the open for reading and writing is refused too.
    const int token = sim::holdOpen(gameFolder + "mus.pac", platform::genericRead,
                                    platform::fileShareRead);
    engine.updateInstallation();
    sim::release(token);
    expectReplaced("sse.pac");  // index 4, before
    EXPECT_EQ(sim::readFile(gameFolder + "mus.pac"), "old");
    EXPECT_EQ(sim::readFile(gameFolder + "srp.pac"), "old");  // index 6, never visited
    EXPECT_TRUE(sim::boxes().empty());
}

TEST_F(UpdateTest, MissingTargetIsCreatedWithTheSourcesTimes) {
    std::remove(sim::hostPath(gameFolder + "ogg.dll").c_str());
    engine.updateInstallation();
    expectReplaced("ogg.dll");
}

TEST_F(UpdateTest, SubfolderEntryEndsTheUpdateWhenTheInstallationLacksIt) {
    std::remove(sim::hostPath(gameFolder + "movie\\ED.mpg").c_str());
    std::remove(sim::hostPath("c:\\Game\\movie").c_str());
    engine.updateInstallation();
    expectReplaced("debuglog.txt");                            // install entry 27
    EXPECT_EQ(sim::readFile(gameFolder + "srp_6.pac"), "old");  // extras never reached
    EXPECT_TRUE(sim::boxes().empty());
}

TEST_F(UpdateTest, SubfolderEntryWithoutSourceIsPassedOver) {
    std::remove(sim::hostPath(gameFolder + "movie\\ED.mpg").c_str());
    std::remove(sim::hostPath("c:\\Game\\movie").c_str());
    std::remove(sim::hostPath(updateFolder + "movie\\ED.mpg").c_str());
    engine.updateInstallation();
    expectReplaced("srp_6.pac");
    expectCompletionBox();
}

TEST_F(UpdateTest, SubfolderEntryIsCopiedIntoAnExistingSubfolder) {
    engine.updateInstallation();
    expectReplaced("movie/ED.mpg");
    EXPECT_EQ(sim::readFile("c:\\Game\\movie\\ED.mpg"), "new movie/ED.mpg");
}

TEST_F(UpdateTest, ProgramInADrivesRootReadsFromThatDrive) {
    sim::setDrive('e', platform::driveFixed, "USB");
    sim::setModulePath("e:\\Update.exe");
    sim::writeFile("e:\\Velmora\\grd.pac", "from e");
    engine.updateInstallation();
    EXPECT_STREQ(engine.sourceDir, "e:");
    EXPECT_EQ(sim::readFile(gameFolder + "grd.pac"), "from e");
    EXPECT_EQ(sim::readFile(gameFolder + "vic.pac"), "old");
    expectCompletionBox();
}

TEST_F(UpdateTest, NoUpdateFolderStillEndsWithTheCompletionMessage) {
    sim::setModulePath("c:\\Other\\Update.exe");
    engine.updateInstallation();
    for (const auto& name : names()) EXPECT_EQ(sim::readFile(gameFolder + name), "old");
    expectCompletionBox();
}

TEST_F(UpdateTest, ProgramInAFolderWithShiftJisBackslashBytes) {
    // ソフト and 表示: the second bytes of ソ and 表 are 0x5C.
    const std::string folder = "c:\\ソフト\\表示";
    sim::setModulePath(folder + "\\Update.exe");
    sim::writeFile(folder + "\\Velmora\\grd.pac", "from sjis");
    engine.updateInstallation();
    EXPECT_EQ(std::string(engine.sourceDir), folder);
    EXPECT_EQ(sim::readFile(gameFolder + "grd.pac"), "from sjis");
}

TEST_F(UpdateTest, PathsTooLongForWindowsArePassedOver) {
    const std::string longGame = "c:\\" + repeat('g', 247);  // 250 bytes
    sim::makeDirs(longGame);
    sim::writeFile(longGame + "\\grd.pac", "old");
    sim::writeFile(longGame + "\\vorbisfile.dll", "old");
    text::copy(engine.installDir, sizeof engine.installDir, longGame.c_str());
    engine.updateInstallation();
    EXPECT_EQ(sim::readFile(longGame + "\\grd.pac"), "new grd.pac");       // 258 bytes
    EXPECT_EQ(sim::readFile(longGame + "\\vorbisfile.dll"), "old");        // 265: refused
    expectCompletionBox();
}

}  // namespace
