// Update.exe end to end under Wine: the driver prepares the registry and the
// files, starts the real program, works its dialog and message boxes as a user
// would and checks the exit code and what the run left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/wine/e2e/decoy_window.h"
#include "tests/wine/e2e/desktop.h"
#include "tests/wine/e2e/files.h"
#include "tests/wine/e2e/fonts.h"
#include "tests/wine/e2e/icon_probe.h"
#include "tests/wine/e2e/install_record.h"
#include "tests/wine/e2e/message_box.h"
#include "tests/wine/e2e/program.h"
#include "tests/wine/e2e/screenshot.h"
#include "tests/wine/e2e/update_dialog.h"
#include "tests/wine/e2e/update_scene.h"
#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace {

using namespace e2e;

const char* const notInstalledText =
    "インストールがされてませんでした。\nインストールを行ってからアップデートしてください。";
const char* const completedText = "アップデートが完了しました。";

const FILETIME installedTime = fileTimeUtc(2003, 4, 1, 9, 0, 0);

// A staged file's times, distinct per file and per kind.
FILETIME stagedWrite(WORD n) { return fileTimeUtc(2005, 6, n, 10, n, 7); }
FILETIME stagedAccess(WORD n) { return fileTimeUtc(2006, 7, n, 11, n, 9); }

bool isReadOnly(const std::string& path) {
    const DWORD attributes = fileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Contents in a failure message: long ones by their start and size.
std::string preview(const std::string& contents) {
    if (contents.size() <= 40) return "\"" + contents + "\"";
    return "\"" + contents.substr(0, 40) + "...\" (" + std::to_string(contents.size()) + " bytes)";
}

// The program's thread takes a sent message only while it waits for messages:
// once it answers, the command it was handling has returned.
bool answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, windowTimeoutMs,
                               &ignored) != 0;
}

// Each case starts from nothing installed and a fresh copy of the program.
class UpdateRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(enterTestDesktop());
        ASSERT_TRUE(prepareFonts());
        ASSERT_TRUE(scene.clear());
        ASSERT_TRUE(scene.placeProgram(driverFolder() + "\\Update.exe"));
    }
    void TearDown() override {
        program.kill();
        scene.clear();
    }

    // Starts the program and waits for its dialog.
    HWND startProgram(Program& run) {
        if (!run.start(scene.programPath(), UpdateScene::programFolder)) return nullptr;
        return waitForUpdateDialog(run, windowTimeoutMs);
    }

    // Presses Update and expects the program to end with 0 without a message box.
    void updateEndsSilently(HWND dialog) {
        ASSERT_TRUE(clickButton(dialog, updateButtonId));
        bool ended = false;
        const std::optional<MessageBoxSeen> box = boxBeforeExit(program, exitTimeoutMs, &ended);
        if (box) {
            ADD_FAILURE() << "unexpected message box \"" << box->caption << "\": " << box->text;
            pressOk(*box);
        } else {
            EXPECT_TRUE(ended) << "the program did not end";
        }
        EXPECT_EQ(program.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));
    }

    UpdateScene scene;
    Program program;
};

TEST_F(UpdateRun, WithoutRecordWarnsAndStaysOpenUntilCancel) {
    HWND dialog = startProgram(program);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(clickButton(dialog, updateButtonId));

    const std::optional<MessageBoxSeen> box = waitForMessageBox(program.id(), windowTimeoutMs);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, notInstalledText);
    EXPECT_EQ(box->caption, "確認");
    EXPECT_EQ(box->icon, BoxIcon::exclamation) << boxIconName(box->icon);
    EXPECT_EQ(box->owner, dialog);
    ASSERT_TRUE(pressOk(*box));

    EXPECT_TRUE(answers(dialog));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(program.running());
    EXPECT_FALSE(findMessageBox(program.id()).has_value());

    ASSERT_TRUE(clickButton(dialog, cancelButtonId));
    EXPECT_EQ(program.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));
    EXPECT_FALSE(readInstallRecord().has_value());
}

// What a complete update does to one name.
enum class Outcome {
    replaced,    // new contents and the new file's times
    readOnly,    // a read-only target refuses the copy (where the system
                 // refuses the write, see readOnlyRefusesWrites) but takes the times
    kept,        // listed without a new version: contents and times stay
    unlisted,    // not a list name: not touched at all, read-only stays
};

struct FileCase {
    const char* name;
    bool installed;
    bool readOnly;
    bool staged;
    Outcome outcome;
};

const FileCase updateCases[] = {
    {"Velmora.exe", true, false, true, Outcome::replaced},  // entry 0, the game's executable
    {"grd.pac", true, true, true, Outcome::readOnly},
    {"vic.pac", true, true, false, Outcome::kept},
    {"movie/ED.mpg", true, false, true, Outcome::replaced},  // a name with a subfolder
    {"grd_2.pac", false, false, true, Outcome::replaced},    // in both lists, not yet installed
    {"srp_6.pac", true, false, true, Outcome::replaced},     // the last name of the second list
    {"save.dat", true, true, true, Outcome::unlisted},
};

std::string oldContents(const FileCase& c) {
    // Longer than the new version, so a copy that does not truncate shows.
    return "old " + std::string(c.name) + std::string(70000, 'o');
}

std::string newContents(const FileCase& c, int index) {
    std::string contents = "new " + std::string(c.name) + "\n";
    // One name spans several 64 KiB blocks and ends in a partial one.
    if (index == 3) contents += std::string(3 * 65536 + 123, 'n');
    return contents;
}

TEST_F(UpdateRun, InstalledGameIsUpdatedFromTheFolderBesideTheProgram) {
    ASSERT_TRUE(scene.recordInstallation());
    ASSERT_TRUE(makeFolders(scene.installedPath("movie")));
    const bool readOnlyHoldsContents = readOnlyRefusesWrites(UpdateScene::installFolder);
    for (int i = 0; i < static_cast<int>(std::size(updateCases)); ++i) {
        const FileCase& c = updateCases[i];
        const WORD n = static_cast<WORD>(i + 1);
        if (c.installed) {
            ASSERT_TRUE(scene.install(c.name, oldContents(c), installedTime, c.readOnly));
        }
        if (c.staged) {
            ASSERT_TRUE(scene.stage(c.name, newContents(c, i), stagedAccess(n), stagedWrite(n)));
        }
    }

    HWND dialog = startProgram(program);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(clickButton(dialog, updateButtonId));
    const std::optional<MessageBoxSeen> box = waitForMessageBox(program.id(), exitTimeoutMs);
    ASSERT_TRUE(box.has_value()) << "no completion message";
    EXPECT_EQ(box->text, completedText);
    EXPECT_EQ(box->caption, "終了");
    EXPECT_EQ(box->icon, BoxIcon::exclamation) << boxIconName(box->icon);
    EXPECT_EQ(box->owner, nullptr);  // the engine's boxes have no owner
    ASSERT_TRUE(pressOk(*box));
    EXPECT_EQ(program.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));

    for (int i = 0; i < static_cast<int>(std::size(updateCases)); ++i) {
        const FileCase& c = updateCases[i];
        SCOPED_TRACE(c.name);
        const std::string target = scene.installedPath(c.name);
        // Times first: reading the contents may move the access time.
        const std::optional<FileTimes> times = fileTimes(target);
        ASSERT_TRUE(times.has_value());
        const bool fromSource = c.outcome == Outcome::replaced || c.outcome == Outcome::readOnly;
        if (fromSource) {
            const std::optional<FileTimes> source = fileTimes(scene.stagedPath(c.name));
            ASSERT_TRUE(source.has_value());
            EXPECT_TRUE(sameTime(source->lastWrite, stagedWrite(static_cast<WORD>(i + 1))));
            EXPECT_TRUE(sameTime(times->lastWrite, source->lastWrite))
                << formatFileTime(times->lastWrite) << " vs " << formatFileTime(source->lastWrite);
            EXPECT_TRUE(sameTime(times->lastAccess, source->lastAccess))
                << formatFileTime(times->lastAccess) << " vs " << formatFileTime(source->lastAccess);
        } else {
            EXPECT_TRUE(sameTime(times->lastWrite, installedTime)) << formatFileTime(times->lastWrite);
        }
        const bool copied = c.outcome == Outcome::replaced ||
                            (c.outcome == Outcome::readOnly && !readOnlyHoldsContents);
        const std::string expected = copied ? newContents(c, i) : oldContents(c);
        const std::optional<std::string> contents = readFile(target);
        ASSERT_TRUE(contents.has_value());
        EXPECT_TRUE(*contents == expected) << "holds " << preview(*contents) << ", expected "
                                           << preview(expected);
        EXPECT_EQ(isReadOnly(target), c.outcome == Outcome::unlisted);
    }
    const std::optional<InstallRecord> record = readInstallRecord();
    ASSERT_TRUE(record.has_value());
    EXPECT_TRUE(*record == scene.expectedRecord()) << "the update must not touch the record";
}

// Installed files in list order; the one held open stops the update.
struct HeldCase {
    const char* name;
    bool held;
    bool replaced;
};

const HeldCase heldCases[] = {
    {"Velmora.exe", false, true},
    {"grd.pac", false, true},
    {"vic.pac", true, false},
    {"readme.txt", false, false},  // later in the first list
    {"srp_6.pac", false, false},   // in the second list
};

TEST_F(UpdateRun, TargetHeldOpenStopsTheUpdateSilentlyAtThatEntry) {
    ASSERT_TRUE(scene.recordInstallation());
    HANDLE held = INVALID_HANDLE_VALUE;
    for (WORD n = 1; n <= std::size(heldCases); ++n) {
        const HeldCase& c = heldCases[n - 1];
        ASSERT_TRUE(scene.install(c.name, std::string("old ") + c.name, installedTime));
        ASSERT_TRUE(scene.stage(c.name, std::string("new ") + c.name, stagedAccess(n), stagedWrite(n)));
        if (c.held) {
            // As a running game holds its files: no sharing at all.
            held = CreateFileA(scene.installedPath(c.name).c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        }
    }

    HWND dialog = startProgram(program);
    ASSERT_NE(dialog, nullptr);
    updateEndsSilently(dialog);
    CloseHandle(held);

    for (const HeldCase& c : heldCases) {
        SCOPED_TRACE(c.name);
        const std::string expected = std::string(c.replaced ? "new " : "old ") + c.name;
        EXPECT_EQ(readFile(scene.installedPath(c.name)), std::optional<std::string>(expected));
    }
}

TEST_F(UpdateRun, SecondCopyEndsAtOnceWithoutAWindow) {
    HWND dialog = startProgram(program);
    ASSERT_NE(dialog, nullptr);

    Program second;
    ASSERT_TRUE(second.start(scene.programPath(), UpdateScene::programFolder));
    WindowQuery anyWindow;
    anyWindow.processId = second.id();
    std::vector<HWND> shown;
    waitUntil(
        [&] {
            shown = findWindows(anyWindow);
            return !second.running() || !shown.empty();
        },
        exitTimeoutMs);
    // A second copy that got this far runs its own dialog: its destructor ends it.
    ASSERT_TRUE(shown.empty()) << "the second copy showed \"" << windowText(shown.front()) << "\"";
    EXPECT_EQ(second.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));

    EXPECT_TRUE(IsWindowVisible(dialog));
    ASSERT_TRUE(clickButton(dialog, cancelButtonId));
    EXPECT_EQ(program.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));
}

TEST_F(UpdateRun, WindowTitledLikeTheGameOfAnotherClassDoesNotStopIt) {
    // Another program's window bearing the game's title.
    DecoyWindow decoy("Velmora");
    ASSERT_NE(decoy.window(), nullptr);
    ASSERT_EQ(FindWindowA(nullptr, "Velmora"), decoy.window());

    HWND dialog = startProgram(program);
    ASSERT_NE(dialog, nullptr) << "the program did not show its dialog";
    ASSERT_TRUE(clickButton(dialog, cancelButtonId));
    EXPECT_EQ(program.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));
}

// The dialog as it first shows; one run serves every case of the suite.
class UpdateDialogLook : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!enterTestDesktop() || !prepareFonts() || !scene().clear() ||
            !scene().placeProgram(driverFolder() + "\\Update.exe")) {
            return;
        }
        program() = std::make_unique<Program>();
        if (program()->start(scene().programPath(), UpdateScene::programFolder))
            dialog = waitForUpdateDialog(*program(), windowTimeoutMs);
    }
    static void TearDownTestSuite() {
        program().reset();
        scene().clear();
    }
    void SetUp() override { ASSERT_NE(dialog, nullptr) << "the dialog did not show"; }

    static UpdateScene& scene() {
        static UpdateScene instance;
        return instance;
    }
    static std::unique_ptr<Program>& program() {
        static std::unique_ptr<Program> instance;
        return instance;
    }
    static HWND dialog;
};

HWND UpdateDialogLook::dialog = nullptr;

TEST_F(UpdateDialogLook, CaptionIsTheTitleAndUpdata) {
    EXPECT_EQ(windowText(dialog), "Velmora Updata");
    EXPECT_EQ(FindWindowA("#32770", "Velmora Updata"), dialog);
}

TEST_F(UpdateDialogLook, QuestionNamesTheTitleOnTwoLines) {
    EXPECT_EQ(controlText(dialog, questionTextId), "Velmora\x81\x40" "を\nアップデートしますか？");
}

TEST_F(UpdateDialogLook, ButtonsKeepTheirTexts) {
    const struct {
        int id;
        const char* text;
    } buttons[] = {{updateButtonId, "アップデート"}, {cancelButtonId, "ｷｬﾝｾﾙ"}};
    for (const auto& b : buttons) EXPECT_EQ(controlText(dialog, b.id), b.text) << b.id;
}

TEST_F(UpdateDialogLook, CaptionHasNoSystemMenu) {
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, 0);
}

TEST_F(UpdateDialogLook, CentredOnTheWorkArea) {
    RECT work{}, rect{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    ASSERT_TRUE(GetWindowRect(dialog, &rect));
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    EXPECT_EQ(rect.left, (work.left + work.right - width) >> 1);
    EXPECT_EQ(rect.top, (work.top + work.bottom - height) >> 1);
}

TEST_F(UpdateDialogLook, OwnedByTheHiddenMainWindow) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(windowClass(owner), mainWindowClass);
    EXPECT_EQ(windowText(owner), mainWindowTitle);
    RECT rect{};
    GetWindowRect(owner, &rect);
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_EQ(rect.bottom - rect.top, 0);
}

TEST_F(UpdateDialogLook, ScreenshotShowsTheDialog) {
    const std::optional<std::string> folder = screenshotFolder();
    if (!folder) GTEST_SKIP() << "VELMORA_E2E_SHOTS is not set";
    const std::optional<Shot> shot = saveScreenshot(dialog, *folder, "update-dialog.png");
    ASSERT_TRUE(shot.has_value()) << "no screenshot in " << *folder;
    const std::optional<SIZE> size = pngSize(shot->windowsPath);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->cx, shot->area.right - shot->area.left);
    EXPECT_EQ(size->cy, shot->area.bottom - shot->area.top);
}

}  // namespace
