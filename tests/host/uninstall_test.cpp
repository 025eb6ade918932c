#include <string>
#include <vector>

#include "engine_fixture.h"

namespace {

const std::string installDir = "c:\\Program Files\\Quillane\\Velmora";
const std::string programs = "c:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
const std::string companyMenu = programs + "\\Quillane";
const std::string productMenu = companyMenu + "\\Velmora";
const std::string links[] = {productMenu + "\\Velmora.lnk", productMenu + "\\README.lnk",
                             productMenu + "\\アンインストール.lnk"};
const char* const keyPath = "SOFTWARE\\Quillane\\Velmora";
const std::string question =
    "Velmora のアンインストールを開始します。\n開始してもよろしいですか？";

// An installed product: every listed file, a saved game, the menu entries, the record.
class UninstallTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        configureAsEntry();
        text::copy(engine.installDir, sizeof engine.installDir, installDir.c_str());
        engine.installed = 1;
        for (FileList list : {engine.installFiles, engine.extraFiles})
            for (int i = 0; fileListEntry(list, i)[0] != '\0'; ++i)
                sim::writeFile(file(fileListEntry(list, i)), "data");
        sim::writeFile(file("save.dat"), "mine");
        for (const auto& link : links) sim::writeFile(link, "link");
        sim::setStringValue(keyPath, "Dir", installDir);
    }
    static std::string file(const std::string& name) { return installDir + "\\" + name; }
    std::vector<std::string> listedLeft() const {
        std::vector<std::string> left;
        for (FileList list : {engine.installFiles, engine.extraFiles})
            for (int i = 0; fileListEntry(list, i)[0] != '\0'; ++i)
                if (sim::fileExists(file(fileListEntry(list, i))))
                    left.push_back(fileListEntry(list, i));
        return left;
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : sim::boxes()) texts.push_back(b.caption + ": " + b.text);
        return texts;
    }
};

TEST_F(UninstallTest, RemovesTheListedFilesTheMenuEntriesAndTheRecord) {
    sim::setAttributes(file("grd.pac"), platform::fileAttributeReadonly);
    EXPECT_TRUE(engine.uninstallProduct());
    EXPECT_EQ(engine.installed, 0);
    EXPECT_TRUE(listedLeft().empty());
    // What the lists do not name stays: the saved game, the folders.
    EXPECT_TRUE(sim::fileExists(file("save.dat")));
    EXPECT_TRUE(sim::dirExists(installDir + "\\movie")) << "ED.mpg went, its folder stays";
    for (const auto& link : links) EXPECT_FALSE(sim::fileExists(link)) << link;
    EXPECT_FALSE(sim::dirExists(productMenu));
    EXPECT_FALSE(sim::dirExists(companyMenu));
    EXPECT_FALSE(sim::keyExists(keyPath));
    EXPECT_TRUE(sim::keyExists("SOFTWARE\\Quillane"));

    const auto shown = sim::boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, question);
    EXPECT_EQ(shown[0].caption, "確認");
    EXPECT_EQ(shown[0].flags, platform::mbYesNo | platform::mbIconQuestion);
    EXPECT_EQ(shown[1].text, "アンインストールが完了しました。");
    EXPECT_EQ(shown[1].caption, "終了");
    EXPECT_EQ(shown[1].flags, platform::mbOk | platform::mbIconWarning);
    EXPECT_EQ(shown[0].owner, nullptr);
    EXPECT_EQ(shown[1].owner, nullptr);
}

TEST_F(UninstallTest, ANameInBothListsGoesInTheFirstPass) {
    engine.uninstallProduct();
    int deletions = 0;
    for (const auto& call : sim::callsOf(sim::Op::deleteFile))
        deletions += call.texts[0] == file("grd_2.pac") ? 1 : 0;
    EXPECT_EQ(deletions, 1) << "the second pass finds nothing to delete";
}

TEST_F(UninstallTest, DecliningChangesNothing) {
    sim::answerBoxes({platform::idNo});
    EXPECT_FALSE(engine.uninstallProduct());
    EXPECT_EQ(engine.installed, 1);
    EXPECT_EQ(listedLeft().size(), static_cast<std::size_t>(installListLength + extraListLength));
    for (const auto& link : links) EXPECT_TRUE(sim::fileExists(link)) << link;
    EXPECT_TRUE(sim::keyExists(keyPath));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"確認: " + question});
}

TEST_F(UninstallTest, WithoutTheRecordItRemovesTheRestAndReportsNothing) {
    ASSERT_TRUE(engine.deleteInstallRecord(keyPath));
    EXPECT_FALSE(engine.uninstallProduct());
    EXPECT_EQ(engine.installed, 1);
    EXPECT_TRUE(listedLeft().empty());
    for (const auto& link : links) EXPECT_FALSE(sim::fileExists(link)) << link;
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"確認: " + question});
}

TEST_F(UninstallTest, AFileInUseStaysAndTheUninstallStillCompletes) {
    // The uninstaller itself, run from the installation folder.
    const int token = sim::holdOpen(file("uninst.exe"), platform::genericRead, platform::fileShareRead);
    EXPECT_TRUE(engine.uninstallProduct());
    sim::release(token);
    EXPECT_EQ(listedLeft(), std::vector<std::string>{"uninst.exe"});
    EXPECT_EQ(engine.installed, 0);
}

TEST_F(UninstallTest, ALongProductNameStillMakesAWholeQuestion) {
    const std::string name(250, 'n');
    text::copy(engine.productName, sizeof engine.productName, name.c_str());
    sim::answerBoxes({platform::idNo});
    engine.uninstallProduct();
    const auto shown = sim::boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, name + " のアンインストールを開始します。\n開始してもよろしいですか？");
}

TEST_F(UninstallTest, DeleteListedFilesTakesOnlyWholePathsInAFolder) {
    // No folder would mean the root of the current drive; a folder too long for a
    // name would mean a cut-off path.
    sim::writeFile("c:\\grd.pac", "not ours");
    engine.deleteListedFiles("");
    EXPECT_TRUE(sim::fileExists("c:\\grd.pac"));

    const std::string longDir = "c:\\" + repeat('d', 250);
    sim::writeFile(longDir + "\\se.pac", "kept");
    sim::clearCalls();
    engine.deleteListedFiles(longDir.c_str());
    EXPECT_TRUE(sim::fileExists(longDir + "\\se.pac"));
    EXPECT_TRUE(sim::callsOf(sim::Op::deleteFile).empty());
}

}  // namespace
