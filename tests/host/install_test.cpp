#include <functional>
#include <string>
#include <vector>

#include "copy_fixture.h"

namespace {

using platform::idNo;
using platform::mbIconQuestion;
using platform::mbIconWarning;
using platform::mbOk;
using platform::mbYesNo;

const std::string installDir = "c:\\Program Files\\Quillane\\Velmora";
const std::string programs = "c:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
const std::string menuFolder = programs + "\\Quillane\\Velmora";
const char* const keyPath = "SOFTWARE\\Quillane\\Velmora";

struct Shown {
    std::string text, caption;
    unsigned flags;
    bool operator==(const Shown& o) const {
        return text == o.text && caption == o.caption && flags == o.flags;
    }
};
std::ostream& operator<<(std::ostream& out, const Shown& b) {
    return out << "[" << b.caption << "] " << b.text << " (" << b.flags << ")";
}

Shown folderQuestion(const std::string& dir) {
    return {dir + "\nフォルダを作成します。\nよろしいですか？", "確認", mbYesNo | mbIconQuestion};
}
Shown folderFailed(const std::string& dir) {
    return {dir + " フォルダを作成できませんでした。", "確認", mbOk | mbIconWarning};
}
Shown noSpace(const std::string& drive, unsigned freeMb, unsigned requiredMb) {
    return {drive + " ドライブの空き容量が足りません。\n今現在のドライブの容量は " +
                std::to_string(freeMb) + "Mです。\nインストールするには 約" +
                std::to_string(requiredMb) + "Mの容量が必要です。",
            "確認", mbOk | mbIconWarning};
}
const Shown completed{"インストールが完了しました。", "終了", mbOk | mbIconWarning};

const char* const phaseRecord = "レジストリにゲーム情報を書き込んでいます。";
const char* const phaseMenu = "スタートメニューに登録しています。";
const char* const phaseDone = "インストールが完了しました。";

// Sources for a few entries of the product's lists; the others are missing and
// passed over by the copy.
const char* const sourceNames[] = {"Velmora.exe", "grd.pac", "readme.txt", "uninst.exe",
                                   "grd_2.pac"};

class InstallTest : public CopyTest {
protected:
    void SetUp() override {
        CopyTest::SetUp();
        configureAsEntry();
        text::copy(engine.sourceDir, sizeof engine.sourceDir, "c:\\Src\\Velmora");
        for (const char* name : sourceNames) sim::writeFile(source(name), contents(name, 70000));
        sim::makeDirs("c:\\Program Files");
    }
    std::vector<Shown> shown() const {
        std::vector<Shown> out;
        for (const auto& b : sim::boxes()) {
            EXPECT_EQ(b.owner, nullptr) << "the engine's boxes have no owner";
            out.push_back({b.text, b.caption, b.flags});
        }
        return out;
    }
    static std::string installed(const std::string& name) { return installDir + "\\" + name; }
    bool anyListedFile() const {
        for (const char* name : sourceNames)
            if (sim::fileExists(installed(name))) return true;
        return false;
    }
    bool anyLink() const {
        for (const char* link : {"\\Velmora.lnk", "\\README.lnk", "\\アンインストール.lnk"})
            if (sim::fileExists(menuFolder + link)) return true;
        return false;
    }
};

TEST_F(InstallTest, InstallsCopiesRecordsAndMakesTheMenuEntries) {
    ASSERT_TRUE(engine.install());
    EXPECT_EQ(engine.installed, 1);
    EXPECT_STREQ(engine.installDir, installDir.c_str());
    EXPECT_EQ(shown(), (std::vector<Shown>{folderQuestion(installDir), completed}));
    for (const char* name : sourceNames)
        EXPECT_EQ(sim::readFile(installed(name)), contents(name, 70000)) << name;
    EXPECT_EQ(sim::value(keyPath, "Dir")->data, installDir + std::string(2, '\0'));
    EXPECT_EQ(sim::value(keyPath, "CD")->data, std::string("c:\\Src\\Velmora") + std::string(2, '\0'));
    EXPECT_TRUE(sim::link(menuFolder + "\\Velmora.lnk"));
    EXPECT_TRUE(sim::link(menuFolder + "\\README.lnk"));
    EXPECT_TRUE(sim::link(menuFolder + "\\アンインストール.lnk"));

    // The phases on line 0, and the completion box before the line is cleared.
    sim::joinThreads();  // the worker's last seam call is recorded too
    std::vector<std::string> phases;
    std::size_t boxAt = 0, clearedAt = 0;
    const auto& calls = sim::calls();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].op == sim::Op::messageBox && calls[i].texts[0] == completed.text) boxAt = i;
        if (calls[i].op != sim::Op::setWindowText) continue;
        const std::string& t = calls[i].texts[0];
        if (t == phaseRecord || t == phaseMenu || t == phaseDone || t.empty()) phases.push_back(t);
        if (t.empty()) clearedAt = i;
    }
    EXPECT_EQ(phases, (std::vector<std::string>{phaseRecord, phaseMenu, phaseDone, ""}));
    EXPECT_LT(boxAt, clearedAt);
    EXPECT_EQ(line(0), "");
}

std::vector<std::string> made() {
    std::vector<std::string> out;
    for (const auto& call : sim::callsOf(sim::Op::makeDirectory)) out.push_back(call.texts[0]);
    return out;
}

TEST_F(InstallTest, AnExistingFolderIsUsedWithoutAQuestion) {
    sim::makeDirs(installDir);
    sim::writeFile(installed("grd.pac"), "old");
    ASSERT_TRUE(engine.install());
    EXPECT_EQ(shown(), std::vector<Shown>{completed});
    EXPECT_EQ(sim::readFile(installed("grd.pac")), contents("grd.pac", 70000));
    EXPECT_EQ(made(), (std::vector<std::string>{programs + "\\Quillane", menuFolder}))
        << "only the menu folders are made";
}

struct FailureRow {
    const char* name;
    std::function<void(SetupEngine&)> arrange;
    std::vector<Shown> boxes;
    const char* statusLine;  // what line 0 keeps; nullptr: the copy's last drawing
    bool folderMade, filesLeft, recordLeft;
};

void PrintTo(const FailureRow& row, std::ostream* out) { *out << row.name; }

class InstallFailureTest : public InstallTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(InstallFailureTest, ShowsItsMessagesCleansUpAndLeavesInstalledAlone) {
    const FailureRow& row = GetParam();
    row.arrange(engine);
    EXPECT_FALSE(engine.install());
    sim::onCall(nullptr);
    EXPECT_EQ(engine.installed, 0);
    EXPECT_EQ(shown(), row.boxes);
    if (row.statusLine != nullptr) {  // else whatever file the copy drew last
        EXPECT_EQ(line(0), row.statusLine);
    }
    EXPECT_EQ(sim::dirExists(installDir), row.folderMade);
    EXPECT_EQ(anyListedFile(), row.filesLeft);
    EXPECT_EQ(sim::keyExists(keyPath), row.recordLeft);
    EXPECT_FALSE(anyLink());
    if (row.folderMade) {
        // Files the lists do not name stay; every listed one goes, copied or not.
        EXPECT_TRUE(sim::fileExists(installed("save.dat")));
        EXPECT_EQ(sim::fileExists(installed("srp_6.pac")), row.filesLeft);
    }
}

// The folder exists in the rows that reach the copy, with a saved game and an
// older listed file in it.
void existingFolder() {
    sim::writeFile(installDir + "\\save.dat", "mine");
    sim::writeFile(installDir + "\\srp_6.pac", "old");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InstallFailureTest,
    ::testing::Values(
        FailureRow{"NotEnoughSpace",
                   [](SetupEngine&) { sim::setFreeBytes('c', 1616ull << 20); },
                   {noSpace("c:\\", 1616, 1617)}, "", false, false, false},
        FailureRow{"FolderDeclined", [](SetupEngine&) { sim::answerBoxes({idNo}); },
                   {folderQuestion(installDir), folderFailed(installDir)}, "", false, false, false},
        FailureRow{"LevelCannotBeMade",
                   [](SetupEngine&) { sim::fail(sim::Op::makeDirectory, 2); },
                   {folderQuestion(installDir), folderFailed(installDir)}, "", false, false, false},
        FailureRow{"CopyAborted",
                   [](SetupEngine& engine) {
                       existingFolder();
                       sim::onCall([&engine](const sim::Call& call) {
                           if (call.op == sim::Op::readStream &&
                               sim::callCount(sim::Op::readStream) == 3)
                               engine.cancelState = 1;
                       });
                   },
                   {}, nullptr, true, false, false},
        FailureRow{"WorkerDoesNotStart",
                   [](SetupEngine&) {
                       existingFolder();
                       sim::fail(sim::Op::createThread);
                   },
                   {}, "", true, false, false},
        FailureRow{"RecordNotWritten",
                   [](SetupEngine&) {
                       existingFolder();
                       sim::fail(sim::Op::regSetValue, 2);
                   },
                   {}, phaseRecord, true, false, false},
        FailureRow{"MenuEntriesNotMade",
                   [](SetupEngine&) {
                       existingFolder();
                       sim::fail(sim::Op::persistFileSave);
                   },
                   {}, phaseMenu, true, true, true}),
    [](const ::testing::TestParamInfo<FailureRow>& info) { return info.param.name; });

TEST_F(InstallTest, OneTrailingBackslashOfTheBaseGoes) {
    const std::string hyo = "\x95\x5C";  // 表: its second byte is a backslash
    sim::setDrive('d', platform::driveFixed, "DATA");
    sim::setFreeBytes('d', 100ull << 30);
    sim::makeDirs("c:\\" + hyo);
    struct Case { std::string base, cut, dir; } cases[] = {
        {"c:\\Program Files\\", "c:\\Program Files", installDir},
        {"D:\\", "D:", "D:\\Quillane\\Velmora"},
        {"c:\\" + hyo, "c:\\" + hyo, "c:\\" + hyo + "\\Quillane\\Velmora"},
        {"c:\\Games\\\\", "c:\\Games\\", "c:\\Games\\\\Quillane\\Velmora"},
    };
    for (const auto& c : cases) {
        sim::clearCalls();
        sim::answerBoxes({idNo});  // stop at the folder question
        text::copy(engine.installBase, sizeof engine.installBase, c.base.c_str());
        EXPECT_FALSE(engine.install());
        EXPECT_EQ(engine.installBase, c.cut);
        EXPECT_EQ(engine.installDir, c.dir);
        const auto asked = sim::callsOf(sim::Op::getDiskFreeSpace);
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked[0].texts[0], c.cut) << "the space is asked for the base";
    }
}

TEST_F(InstallTest, EqualSpaceIsEnoughAndOneMegabyteMoreIsNot) {
    struct Case { std::uint32_t required; bool passes; } cases[] = {{500, true}, {501, false}};
    for (const auto& c : cases) {
        SetUp();
        sim::setFreeBytes('c', (500ull << 20) + 1048575);  // the remainder is dropped
        engine.requiredMegabytes = c.required;
        sim::answerBoxes({idNo});
        EXPECT_FALSE(engine.install());
        const auto boxes = shown();
        ASSERT_FALSE(boxes.empty());
        if (c.passes) {
            EXPECT_EQ(boxes[0], folderQuestion(installDir));
        } else {
            EXPECT_EQ(boxes, std::vector<Shown>{noSpace("c:\\", 500, 501)});
        }
    }
}

TEST_F(InstallTest, SpaceOfAFolderStillToBeMadeIsMeasuredAtItsNearestLevel) {
    sim::setFreeBytes('c', 1000ull << 20);
    text::copy(engine.installBase, sizeof engine.installBase, "c:\\Games\\New");
    EXPECT_FALSE(engine.install());
    std::vector<std::string> asked;
    for (const auto& call : sim::callsOf(sim::Op::getDiskFreeSpace)) asked.push_back(call.texts[0]);
    EXPECT_EQ(asked, (std::vector<std::string>{"c:\\Games\\New", "c:\\Games", "c:\\"}));
    EXPECT_EQ(shown(), std::vector<Shown>{noSpace("c:\\", 1000, 1617)});

    // A drive that does not exist has no space at all.
    SetUp();
    text::copy(engine.installBase, sizeof engine.installBase, "q:\\Games");
    EXPECT_FALSE(engine.install());
    EXPECT_EQ(shown(), std::vector<Shown>{noSpace("q:\\", 0, 1617)});
}

TEST_F(InstallTest, ABaseTooLongForTheFolderAndItsFilesIsRefusedFirst) {
    // The longest listed name is "vorbisfile.dll" (14): the folder may have
    // 259 - 1 - 14 = 244 bytes, that is a base of 244 - 17 = 227.
    for (std::size_t baseLength : {227u, 228u}) {
        SetUp();
        const std::string base = "c:\\" + repeat('b', baseLength - 3);
        const std::string dir = base + "\\Quillane\\Velmora";
        text::copy(engine.installBase, sizeof engine.installBase, base.c_str());
        sim::answerBoxes({idNo});
        EXPECT_FALSE(engine.install());
        if (baseLength == 227) {
            EXPECT_EQ(shown(), (std::vector<Shown>{folderQuestion(dir), folderFailed(dir)}));
            continue;
        }
        EXPECT_EQ(shown(), std::vector<Shown>{folderFailed(dir)});
        EXPECT_STREQ(engine.installDir, "");
        EXPECT_TRUE(sim::callsOf(sim::Op::getDiskFreeSpace).empty());
        EXPECT_TRUE(sim::callsOf(sim::Op::makeDirectory).empty());
    }
}

// ---- makeFolderPath ----

TEST_F(InstallTest, MakeFolderPathCreatesTheMissingLevelsTopDown) {
    const std::string hyo = "\x95\x5C";
    struct Case { std::string path; std::vector<std::string> made; } cases[] = {
        {installDir, {"c:\\Program Files\\Quillane\\", installDir}},
        {"c:\\" + hyo + "\\x", {"c:\\" + hyo + "\\", "c:\\" + hyo + "\\x"}},
        {"c:\\" + hyo + "x", {"c:\\" + hyo + "x"}},  // no level inside 表
    };
    for (const auto& c : cases) {
        SetUp();
        EXPECT_TRUE(engine.makeFolderPath(c.path.c_str())) << c.path;
        EXPECT_EQ(made(), c.made) << c.path;
        EXPECT_EQ(shown(), std::vector<Shown>{folderQuestion(c.path)});
        EXPECT_TRUE(sim::dirExists(c.path));
    }
}

TEST_F(InstallTest, MakeFolderPathAsksOnlyForAMissingFolder) {
    sim::makeDirs(installDir);
    EXPECT_TRUE(engine.makeFolderPath(installDir.c_str()));
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(made().empty());
}

TEST_F(InstallTest, MakeFolderPathDeclinedOrFailingMakesNoMore) {
    sim::answerBoxes({idNo});
    EXPECT_FALSE(engine.makeFolderPath(installDir.c_str()));
    EXPECT_TRUE(made().empty());
    EXPECT_FALSE(sim::dirExists("c:\\Program Files\\Quillane"));

    sim::fail(sim::Op::makeDirectory);
    EXPECT_FALSE(engine.makeFolderPath(installDir.c_str()));
    EXPECT_EQ(made(), std::vector<std::string>{"c:\\Program Files\\Quillane\\"});

    // A path its levels could not be held whole in is refused before any question.
    sim::clearCalls();
    const std::string tooLong = "c:\\" + repeat('p', 257);
    EXPECT_FALSE(engine.makeFolderPath(tooLong.c_str()));
    EXPECT_TRUE(sim::callsOf(sim::Op::messageBox).empty());
}

}  // namespace
