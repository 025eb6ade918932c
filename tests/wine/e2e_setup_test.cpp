// Setup.exe end to end under Wine: installs from the disc that
// e2e_setup_test.sh puts in drive e:, watches the copy, aborts one, opens the
// documents, uninstalls and starts the game, as a user works the program.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/wine/e2e/desktop.h"
#include "tests/wine/e2e/file_association.h"
#include "tests/wine/e2e/files.h"
#include "tests/wine/e2e/fonts.h"
#include "tests/wine/e2e/install_record.h"
#include "tests/wine/e2e/message_box.h"
#include "tests/wine/e2e/program.h"
#include "tests/wine/e2e/screenshot.h"
#include "tests/wine/e2e/setup_form.h"
#include "tests/wine/e2e/shell_link.h"
#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace {

using namespace e2e;

const std::string sourceDir = "e:\\Velmora";
const std::string manualPath = "e:\\manual\\manual.html";
// The default parent folder and the two levels the program puts below it.
const std::string installDir = "c:\\Program Files\\Quillane\\Velmora";
const std::string companyFolder = "C:\\Program Files\\Quillane";
const std::string testRoot = "C:\\velmora-e2e-setup";
const std::string openedLog = testRoot + "\\opened.log";
const std::string gameCwdFile = testRoot + "\\game-cwd.txt";
const std::string gameFolder = testRoot + "\\game";

// The install list, entry 0 named after the game's executable; the disc holds them all.
const char* const listedNames[] = {
    "Velmora.exe", "grd.pac",  "vic.pac",   "se.pac",     "sse.pac",      "mus.pac",
    "srp.pac",     "ogg.dll",  "vorbis.dll", "vorbisfile.dll", "readme.txt", "uninst.exe",
    "Agrd.pac",    "Bgrd.pac", "Cgrd.pac",  "Dgrd.pac",   "Egrd.pac",     "Fgrd.pac",
    "Ggrd.pac",    "Hgrd.pac", "Setting.exe", "grd_2.pac", "vic_2.pac",   "se_2.pac",
    "sse_2.pac",   "mus_2.pac", "srp_2.pac", "debuglog.txt", "movie\\ED.mpg"};
const char* const leftOutName = "mus.pac";  // the music component, unticked

// The copy makes no folders: a name in a subfolder the installation lacks is passed over.
bool arrives(const std::string& name) {
    return name != leftOutName && name.find('\\') == std::string::npos;
}

struct LinkCase {
    const char* name;
    const char* target;
};
const LinkCase links[] = {
    {"Velmora", "Velmora.exe"}, {"README", "readme.txt"}, {"アンインストール", "uninst.exe"}};

const char* const failedText =
    "インストールが正常に行われませんでした。\nもう一度ご確認の上、インストールを行ってください。";

std::string installedPath(const std::string& name) { return installDir + "\\" + name; }
std::string linkFolder() { return commonProgramsFolder() + "\\Quillane\\Velmora"; }
std::string linkPath(const LinkCase& link) { return linkFolder() + "\\" + link.name + ".lnk"; }
bool exists(const std::string& path) { return fileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

// Windows paths compare without regard to case; the program keeps "c:" as written.
bool samePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            result.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    return result;
}

// Status line 0 during the copy: a list name, a space and a spinner glyph.
bool showsFileWithSpinner(const std::string& line) {
    for (const char* name : listedNames) {
        for (const char* glyph : {"｜", "／", "―", "＼"}) {
            if (line == std::string(name) + " " + glyph) return true;
        }
    }
    return false;
}

// Status line 1: the elapsed time as H:MM:SS, past its start.
bool showsElapsedTime(const std::string& line) {
    int h = -1, m = -1, s = -1;
    char rest = 0;
    if (sscanf(line.c_str(), "%d:%2d:%2d%c", &h, &m, &s, &rest) != 3) return false;
    return h >= 0 && m >= 0 && m < 60 && s >= 0 && s < 60 && (h || m || s);
}

int barPosition(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageA(dialog, setupIds::progressBar, PBM_GETPOS, 0, 0));
}

struct StateCase {
    int id;
    bool enabled;
};

void expectStates(HWND dialog, std::initializer_list<StateCase> states) {
    for (const StateCase& s : states) EXPECT_EQ(controlEnabled(dialog, s.id), s.enabled) << s.id;
}

// Removes whatever an install of this test may have left, including in a failed run.
void clearInstallation() {
    removeTree(companyFolder);
    for (const LinkCase& link : links) DeleteFileA(linkPath(link).c_str());
    RemoveDirectoryA(linkFolder().c_str());
    RemoveDirectoryA(parentFolder(linkFolder()).c_str());
    deleteInstallRecord();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quillane");  // only when it is empty
    removeTree(testRoot);
}

// The program's thread takes a sent message only while it waits for messages:
// once it answers, the command it was handling has returned.
bool answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, windowTimeoutMs,
                               &ignored) != 0;
}

std::string setupPath() { return driverFolder() + "\\Setup.exe"; }

// The next message box of the program other than its dialog `ignored`; fails
// the case unless it has this text and caption.
std::optional<MessageBoxSeen> expectBox(const Program& program, HWND ignored, const std::string& text,
                                        const std::string& caption) {
    std::optional<MessageBoxSeen> box = waitForMessageBox(program.id(), exitTimeoutMs, ignored);
    if (!box) {
        ADD_FAILURE() << "no message box \"" << text << "\"";
        return box;
    }
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->caption, caption);
    return box;
}

// One run of the program serves the install, the documents, the uninstall and
// the abort, in this order, as a user would go through them.
class SetupSession : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!enterTestDesktop() || !prepareFonts()) return;
        clearInstallation();
        if (!makeFolders(testRoot)) return;
        program() = std::make_unique<Program>();
        if (program()->start(setupPath(), testRoot))
            dialog = waitForSetupDialog(*program(), windowTimeoutMs);
    }
    static void TearDownTestSuite() {
        program().reset();
        clearInstallation();
    }
    void SetUp() override { ASSERT_NE(dialog, nullptr) << "the setup dialog did not show"; }

    static std::unique_ptr<Program>& program() {
        static std::unique_ptr<Program> instance;
        return instance;
    }

    // Opens the component dialog by the install button, leaves the music out
    // and confirms. True once the dialog has gone.
    static bool chooseComponentsWithoutMusic() {
        if (!clickButton(dialog, setupIds::install)) return false;
        HWND components = waitForComponentDialog(*program(), windowTimeoutMs);
        if (components == nullptr) return false;
        if (isChecked(components, componentIds::music) &&
            !clickAndWait(components, componentIds::music, windowTimeoutMs)) {
            return false;
        }
        if (isChecked(components, componentIds::music)) return false;
        if (!clickButton(components, componentIds::ok)) return false;
        return waitUntil([&] { return !IsWindow(components); }, windowTimeoutMs);
    }

    // The install thread gives the button its caption back after the states.
    static bool installEnded() {
        return controlText(dialog, setupIds::install) == "インストール" && answers(dialog);
    }

    static HWND dialog;
    static bool installed;
    static bool sawElapsedTime;
};

HWND SetupSession::dialog = nullptr;
bool SetupSession::installed = false;
bool SetupSession::sawElapsedTime = false;

TEST_F(SetupSession, InstallCopiesTheChosenComponentsWithProgress) {
    ASSERT_EQ(controlText(dialog, setupIds::install), "インストール");
    ASSERT_TRUE(chooseComponentsWithoutMusic());

    std::optional<MessageBoxSeen> question =
        expectBox(*program(), dialog, installDir + "\nフォルダを作成します。\nよろしいですか？", "確認");
    ASSERT_TRUE(question.has_value());
    ASSERT_TRUE(pressButton(*question, IDYES));
    const DWORD copyStart = GetTickCount();

    // The copy, watched while the big second file lasts: a name with the
    // spinner, the clock, the bar.
    EXPECT_TRUE(waitUntil(
        [] { return showsFileWithSpinner(controlText(dialog, setupIds::statusLine0)); },
        windowTimeoutMs))
        << "status line 0: " << controlText(dialog, setupIds::statusLine0);
    EXPECT_EQ(controlText(dialog, setupIds::install), "中断");
    const int firstPosition = barPosition(dialog);
    EXPECT_TRUE(waitUntil([&] { return barPosition(dialog) > firstPosition; }, windowTimeoutMs))
        << "the bar stayed at " << firstPosition;
    const std::optional<std::string> shots = screenshotFolder();
    if (shots) {
        EXPECT_TRUE(saveScreenshot(dialog, *shots, "install-copying.png").has_value());
    }

    // Status line 1 is looked at until the copy ends (CopyShowedTheElapsedTime).
    waitUntil(
        [] {
            sawElapsedTime = sawElapsedTime ||
                             showsElapsedTime(controlText(dialog, setupIds::statusLine1));
            return findMessageBox(program()->id(), dialog).has_value();
        },
        exitTimeoutMs);
    std::optional<MessageBoxSeen> done = expectBox(*program(), dialog, "インストールが完了しました。", "終了");
    ASSERT_TRUE(done.has_value());
    std::printf("copy and record took about %lu ms\n", GetTickCount() - copyStart);
    EXPECT_EQ(done->owner, nullptr);  // the engine's boxes have no owner
    ASSERT_TRUE(pressOk(*done));
    ASSERT_TRUE(waitUntil([] { return installEnded(); }, windowTimeoutMs));
    if (shots) {
        EXPECT_TRUE(saveScreenshot(dialog, *shots, "install-done.png").has_value());
    }

    EXPECT_EQ(controlText(dialog, setupIds::install), "インストール");
    expectStates(dialog, {{setupIds::install, false},
                          {setupIds::startGame, true},
                          {setupIds::readme, true},
                          {setupIds::uninstall, true},
                          {setupIds::manual, true}});

    for (const char* name : listedNames) {
        SCOPED_TRACE(name);
        if (!arrives(name)) {
            EXPECT_FALSE(exists(installedPath(name)));
            continue;
        }
        ASSERT_TRUE(exists(installedPath(name))) << "not installed";
        EXPECT_EQ(sameContents(installedPath(name), sourceDir + "\\" + name),
                  std::optional<bool>(true));
    }

    const std::optional<InstallRecord> record = readInstallRecord();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->dir, installDir);
    EXPECT_EQ(record->cd, sourceDir);
    EXPECT_EQ(record->type, 0u);  // the install type was not touched

    for (const LinkCase& link : links) {
        SCOPED_TRACE(link.name);
        const std::optional<ShellLink> read = readShellLink(linkPath(link));
        ASSERT_TRUE(read.has_value()) << linkPath(link);
        EXPECT_TRUE(samePath(read->target, installedPath(link.target))) << read->target;
        EXPECT_TRUE(samePath(read->workingDirectory, installDir)) << read->workingDirectory;
    }
    installed = true;
}

TEST_F(SetupSession, CopyShowedTheElapsedTime) {
    if (!installed) GTEST_SKIP() << "needs the install before it";
    EXPECT_TRUE(sawElapsedTime) << "status line 1: " << controlText(dialog, setupIds::statusLine1);
}

TEST_F(SetupSession, ReadmeAndManualOpenWithTheirPrograms) {
    if (!installed) GTEST_SKIP() << "needs the install before it";
    const FileAssociation association(
        "VelmoraE2E.Recorder", driverFolder() + "\\e2e_setup_recorder.exe", {".txt", ".html"});
    ASSERT_TRUE(association.ok());
    DeleteFileA(openedLog.c_str());

    // The read-me of the installation, the game being installed; the manual on the disc.
    const struct {
        int button;
        std::string expected;
    } documents[] = {{setupIds::readme, installedPath("readme.txt")},
                     {setupIds::manual, manualPath}};
    std::size_t count = 0;
    for (const auto& d : documents) {
        SCOPED_TRACE(d.button);
        ASSERT_TRUE(clickButton(dialog, d.button));
        std::vector<std::string> opened;
        ASSERT_TRUE(waitUntil(
            [&] {
                opened = lines(readFile(openedLog).value_or(""));
                return opened.size() > count;
            },
            windowTimeoutMs))
            << "nothing was opened";
        EXPECT_TRUE(samePath(opened.back(), d.expected)) << opened.back();
        count = opened.size();
        EXPECT_TRUE(program()->running());
    }
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(SetupSession, UninstallRemovesFilesLinksFoldersAndRecord) {
    if (!installed) GTEST_SKIP() << "needs the install before it";
    ASSERT_TRUE(clickButton(dialog, setupIds::uninstall));
    std::optional<MessageBoxSeen> question = expectBox(
        *program(), dialog, "Velmora のアンインストールを開始します。\n開始してもよろしいですか？", "確認");
    ASSERT_TRUE(question.has_value());
    ASSERT_TRUE(pressButton(*question, IDYES));
    std::optional<MessageBoxSeen> done = expectBox(*program(), dialog, "アンインストールが完了しました。", "終了");
    ASSERT_TRUE(done.has_value());
    ASSERT_TRUE(pressOk(*done));
    // The states follow the box on the dialog's thread: set once it answers again.
    ASSERT_TRUE(waitUntil([] { return controlEnabled(dialog, setupIds::install); }, windowTimeoutMs));
    ASSERT_TRUE(answers(dialog));
    installed = false;

    expectStates(dialog, {{setupIds::install, true},
                          {setupIds::chooseFolder, true},
                          {setupIds::startGame, false},
                          {setupIds::uninstall, false}});
    for (const char* name : listedNames) EXPECT_FALSE(exists(installedPath(name))) << name;
    for (const LinkCase& link : links) EXPECT_FALSE(exists(linkPath(link))) << link.name;
    EXPECT_FALSE(exists(linkFolder()));
    EXPECT_FALSE(exists(parentFolder(linkFolder())));
    EXPECT_FALSE(readInstallRecord().has_value());
    EXPECT_TRUE(exists(installDir)) << "the folder itself stays";
}

TEST_F(SetupSession, AbortDuringTheCopyTakesTheInstallBack) {
    ASSERT_TRUE(controlEnabled(dialog, setupIds::install));
    ASSERT_TRUE(chooseComponentsWithoutMusic());
    // The folder may be left from the install before: then there is no question.
    // The bar starts again from 0 and is in the big second file for a while.
    ASSERT_TRUE(waitUntil(
        [] {
            if (std::optional<MessageBoxSeen> box = findMessageBox(program()->id(), dialog)) {
                pressButton(*box, IDYES);
            }
            const int position = barPosition(dialog);
            return controlText(dialog, setupIds::install) == "中断" && position > 0 &&
                   position < 500;
        },
        windowTimeoutMs))
        << "bar at " << barPosition(dialog);

    ASSERT_TRUE(clickAndWait(dialog, setupIds::install, windowTimeoutMs));
    EXPECT_FALSE(controlEnabled(dialog, setupIds::install)) << "still enabled after the click";

    std::optional<MessageBoxSeen> failed = expectBox(*program(), dialog, failedText, "確認");
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->owner, dialog);
    ASSERT_TRUE(pressOk(*failed));
    ASSERT_TRUE(waitUntil([] { return installEnded(); }, windowTimeoutMs));

    EXPECT_EQ(controlText(dialog, setupIds::install), "インストール");
    expectStates(dialog, {{setupIds::install, true},
                          {setupIds::chooseFolder, true},
                          {setupIds::readme, true},
                          {setupIds::manual, true},
                          {setupIds::startGame, false},
                          {setupIds::uninstall, false}});
    for (const char* name : listedNames) EXPECT_FALSE(exists(installedPath(name))) << name;
    EXPECT_FALSE(readInstallRecord().has_value());
    for (const LinkCase& link : links) EXPECT_FALSE(exists(linkPath(link))) << link.name;

    ASSERT_TRUE(clickButton(dialog, setupIds::exitProgram));
    EXPECT_EQ(program()->waitForExit(exitTimeoutMs), std::optional<DWORD>(0));
}

// An installed game, started from the dialog: in its installation folder.
TEST(SetupGame, StartsInItsInstallationFolder) {
    ASSERT_TRUE(enterTestDesktop());
    ASSERT_TRUE(prepareFonts());
    clearInstallation();
    ASSERT_TRUE(makeFolders(gameFolder));
    ASSERT_TRUE(copyFile(driverFolder() + "\\e2e_setup_fake_game.exe", gameFolder + "\\Velmora.exe"));
    ASSERT_TRUE(writeInstallRecord({gameFolder, sourceDir, 0}));

    Program program;
    ASSERT_TRUE(program.start(setupPath(), testRoot));
    HWND dialog = waitForSetupDialog(program, windowTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    expectStates(dialog, {{setupIds::install, false},
                          {setupIds::chooseFolder, false},
                          {setupIds::startGame, true},
                          {setupIds::uninstall, true}});

    ASSERT_TRUE(clickButton(dialog, setupIds::startGame));
    EXPECT_EQ(program.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));
    std::optional<std::string> cwd;
    EXPECT_TRUE(waitUntil([&] { return (cwd = readFile(gameCwdFile)).value_or("") != ""; },
                          windowTimeoutMs))
        << "the game did not start";
    if (cwd) {
        EXPECT_TRUE(samePath(*cwd, gameFolder)) << *cwd;
    }
    clearInstallation();
}

}  // namespace
