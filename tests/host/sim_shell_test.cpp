// Shell folders, links saved through UTF-16 paths, the folder browser, opening files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/constants.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/sim/sim.h"
#include "platform/windowing.h"

using namespace platform;

namespace {

class SimShell : public ::testing::Test {
protected:
    void SetUp() override { sim::reset(); }
};

const std::string programs = "c:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";

// Saves a link the way the shortcut code does: ANSI path -> UTF-16 -> IPersistFile.
Status saveLink(const std::string& linkPath, const char* target) {
    ShellLink link = nullptr;
    PersistFile file = nullptr;
    if (createShellLink(&link) != sOk) return eFail;
    shellLinkQueryPersistFile(link, &file);
    shellLinkSetPath(link, target);
    shellLinkSetWorkingDirectory(link, "c:\\Program Files\\Quillane\\Velmora");
    shellLinkSetIconLocation(link, nullptr, 0);
    shellLinkSetHotkey(link, 0);
    shellLinkSetDescription(link, "");
    shellLinkSetShowCmd(link, swShow);
    char16_t wide[260];
    Status saved = eFail;
    if (multiByteToWide(linkPath.c_str(), wide, 260) > 0) saved = persistFileSave(file, wide, true);
    shellLinkRelease(link);
    persistFileRelease(file);
    return saved;
}

TEST_F(SimShell, SpecialFoldersExistAndCanBeUnavailable) {
    char buffer[260];
    ASSERT_TRUE(getSpecialFolderPath(buffer, csidlCommonPrograms, false));
    EXPECT_EQ(std::string(buffer), programs);
    EXPECT_TRUE(sim::dirExists(buffer));
    ASSERT_TRUE(getSpecialFolderPath(buffer, csidlCommonStartMenu, false));
    EXPECT_EQ(std::string(buffer), "c:\\ProgramData\\Microsoft\\Windows\\Start Menu");

    sim::setSpecialFolder(csidlCommonPrograms, std::nullopt);
    EXPECT_FALSE(getSpecialFolderPath(buffer, csidlCommonPrograms, false));
    EXPECT_STREQ(buffer, "");
}

TEST_F(SimShell, LinksSavedThroughUtf16KeepTheirShiftJisNames) {
    const std::string folder = programs + "\\Quillane\\Velmora";
    sim::makeDirs(folder);
    const std::string names[] = {"Velmora", "README", "アンインストール", "ソフト表示", "ｾｯﾄｱｯﾌﾟ",
                                 "①ⅰ"};
    for (const std::string& name : names) {
        const std::string path = folder + "\\" + name + ".lnk";
        ASSERT_EQ(saveLink(path, "c:\\Program Files\\Quillane\\Velmora\\uninst.exe"), sOk) << name;
        EXPECT_TRUE(sim::fileExists(path)) << name;
        std::optional<sim::Link> link = sim::link(path);
        ASSERT_TRUE(link) << name;
        EXPECT_EQ(link->target, "c:\\Program Files\\Quillane\\Velmora\\uninst.exe");
        EXPECT_EQ(link->workingDirectory, "c:\\Program Files\\Quillane\\Velmora");
        EXPECT_EQ(link->showCommand, swShow);
        EXPECT_EQ(sim::callsOf(sim::Op::persistFileSave).back().texts[0], path);
    }
    EXPECT_EQ(sim::liveShellObjects(), 0) << "every interface released";

    const std::string readme = folder + "\\README.lnk";
    ASSERT_TRUE(deleteFile(readme.c_str()));
    EXPECT_FALSE(sim::link(readme));
}

TEST_F(SimShell, ASaveIntoAMissingFolderFails) {
    EXPECT_NE(saveLink(programs + "\\Quillane\\Velmora\\Velmora.lnk", "x"), sOk);
    EXPECT_FALSE(sim::fileExists(programs + "\\Quillane\\Velmora\\Velmora.lnk"));
}

TEST_F(SimShell, MultiByteToWideHonoursTheCapacity) {
    struct Case {
        const char* text;
        int capacity, result;
    };
    const Case cases[] = {
        {"abc", 4, 4}, {"abc", 3, 0}, {"abc", 0, 4},
        {"表示", 3, 3},  // one unit per double-byte character
        {"表示", 2, 0}, {"", 1, 1},
    };
    for (const Case& c : cases) {
        char16_t out[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
        EXPECT_EQ(multiByteToWide(c.text, c.capacity ? out : nullptr, c.capacity), c.result)
            << c.text << " in " << c.capacity;
        if (c.result > 0 && c.capacity > 0) {
            EXPECT_EQ(out[c.result - 1], u'\0');
        }
        if (c.capacity < 8) {
            EXPECT_EQ(out[c.capacity], u'#') << "nothing past the capacity";
        }
    }
    char16_t out[4];
    ASSERT_EQ(multiByteToWide("表示", out, 4), 3);
    EXPECT_EQ(out[0], u'表');
    EXPECT_EQ(out[1], u'示');
}

struct BrowseLog {
    std::vector<unsigned> messages;
    std::string typed;
    int validateAnswer = 1;
};
BrowseLog browseLog;

int PLATFORM_CALLBACK browseCallback(Window window, unsigned message, LParam lParam, LParam data) {
    browseLog.messages.push_back(message);
    if (message == bffmInitialized) sendMessage(window, bffmSetSelectionA, 1, data);
    if (message == bffmValidateFailedA) {
        browseLog.typed = reinterpret_cast<const char*>(lParam);
        return browseLog.validateAnswer;
    }
    return 0;
}

ItemList* browse(char* displayName, char* startFolder, unsigned flags) {
    BrowseRequest request;
    request.displayName = displayName;
    request.title = "フォルダを選択してください";
    request.flags = flags;
    request.callback = browseCallback;
    request.data = reinterpret_cast<LParam>(startFolder);
    return browseForFolder(request);
}

TEST_F(SimShell, TheBrowserOpensAtTheStartFolderAndGivesTheChoice) {
    browseLog = BrowseLog{};
    char start[260] = "c:\\Program Files";
    char name[260] = "";
    sim::answerBrowse(std::string("d:\\Games\\Velmora"));
    ItemList* item = browse(name, start, bifValidate);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(name, "Velmora");
    std::vector<sim::Browsed> shown = sim::browses();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].selection, "c:\\Program Files");
    EXPECT_EQ(shown[0].flags, bifValidate);
    EXPECT_EQ(browseLog.messages.front(), bffmInitialized);

    Allocator* allocator = nullptr;
    ASSERT_EQ(getShellAllocator(&allocator), sOk);
    char path[1024];
    ASSERT_TRUE(getPathFromItemList(item, path));
    EXPECT_STREQ(path, "d:\\Games\\Velmora");
    allocatorFree(allocator, item);
    allocatorRelease(allocator);
    EXPECT_EQ(sim::liveShellObjects(), 0);

    sim::answerBrowse(std::nullopt);
    EXPECT_EQ(browse(name, start, bifValidate), nullptr) << "the user cancels";
    EXPECT_STREQ(name, "Velmora") << "a cancelled browser writes nothing";
}

TEST_F(SimShell, AnInvalidTypedNameReachesTheCallbackOnlyWithAnEditBox) {
    char start[260] = "c:\\";
    char name[260];
    sim::answerBrowse(std::string("c:\\"));
    sim::typeInvalidFolder("nosuch");
    browseLog = BrowseLog{};
    ASSERT_NE(browse(name, start, bifValidate), nullptr);
    EXPECT_TRUE(browseLog.typed.empty());

    browseLog = BrowseLog{};
    ASSERT_NE(browse(name, start, bifValidate | bifEditBox), nullptr) << "the callback kept it open";
    EXPECT_EQ(browseLog.typed, "nosuch");
    EXPECT_STREQ(name, "c:");

    sim::typeInvalidFolder("again");
    browseLog = BrowseLog{};
    browseLog.validateAnswer = 0;
    EXPECT_EQ(browse(name, start, bifValidate | bifEditBox), nullptr);
}

TEST_F(SimShell, AnItemWithoutAPathHasNoPath) {
    char start[260] = "c:\\";
    char name[260];
    sim::answerBrowseWithoutPath("コンピュータ");
    ItemList* item = browse(name, start, 0);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(name, "コンピュータ");
    char path[260] = "old";
    EXPECT_FALSE(getPathFromItemList(item, path));
    EXPECT_STREQ(path, "");
}

TEST_F(SimShell, LongPathsAndOpeningDocuments) {
    sim::writeFile("c:\\Program Files\\Quillane\\Velmora\\Velmora.exe", "game");
    char out[260];
    const char* exe = "c:\\Program Files\\Quillane\\Velmora\\Velmora.exe";
    EXPECT_EQ(getLongPathName(exe, out, 260), std::string(exe).size());
    EXPECT_STREQ(out, exe);
    EXPECT_EQ(getLongPathName("c:\\missing.txt", out, 260), 0u);
    EXPECT_EQ(getLongPathName(exe, out, 10), std::string(exe).size() + 1) << "the size needed";

    ASSERT_EQ(changeDirectory("c:\\Program Files\\Quillane\\Velmora"), 0);
    EXPECT_GT(shellExecute(nullptr, "open", exe, "", "", swShowNormal), 32);
    EXPECT_LE(shellExecute(nullptr, "open", "c:\\manual\\manual.html", "", "", swShowNormal), 32);
    std::vector<sim::Executed> runs = sim::executed();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].verb, "open");
    EXPECT_EQ(runs[0].file, exe);
    EXPECT_EQ(runs[0].directory, "");
    EXPECT_EQ(runs[0].currentDirectory, "c:\\Program Files\\Quillane\\Velmora");
}

TEST_F(SimShell, CoInitializeGivesTheResultSet) {
    EXPECT_EQ(coInitialize(), sOk);
    sim::setCoInitializeResult(sFalse);
    EXPECT_EQ(coInitialize(), sFalse);
    sim::setCoInitializeResult(eOutOfMemory);
    EXPECT_EQ(coInitialize(), eOutOfMemory);
    coUninitialize();
}

}  // namespace
