// Bad input end to end under Wine: each row starts the real program on an
// input it must refuse or survive, and checks what the user sees (the message
// box, or none) and what is left on disk and in the registry.
//
// Rows and where they are proved:
//   stored "Dir" of 258, 259, 260, 261 bytes     RecordRows (here)
//   "Dir" as REG_EXPAND_SZ                       RecordRows (here)
//   a record without "InstType"                  RecordRows (here)
//   no update folder                             UpdateBadInput.NoUpdateFolder... (here)
//   "movie/ED.mpg" without its subfolder         UpdateBadInput.MovieWithout... (here);
//                                                the install's side: e2e_setup_test
//                                                (InstallCopiesTheChosenComponents..., arrives())
//   program, update folder and installation in   ShiftJisFolders (here)
//   ソフト / 表示 / 能力 (0x5C second bytes)
//   a disc whose label differs only in case      SetupDiscs (here; the drives come from
//                                                e2e_bad_input_test.sh)
//   a CD-ROM drive with no readable label        SetupDiscs has an empty CD-ROM drive, to
//                                                which Wine gives the empty label; a label
//                                                that cannot be read at all: on the sim,
//                                                tests/host/configure_test.cpp ("unreadable
//                                                label after a labelled drive", "... first")
//   a target held open by another process        e2e_update_test
//                                                (TargetHeldOpenStopsTheUpdateSilently...);
//                                                one read by a program that shares
//                                                writing: UpdateBadInput.TargetReadBy... (here)
//   a read-only listed file                      e2e_update_test (InstalledGameIsUpdated...,
//                                                grd.pac) and, since Wine run as root writes
//                                                read-only files regardless, on the sim:
//                                                tests/host/update_test.cpp
//                                                (ReadOnlyTargetKeepsItsContents...)
//   the Start-menu folder not writable           Wine run as root ignores folder
//                                                permissions: on the sim,
//                                                tests/host/install_test.cpp (Rows/
//                                                MenuEntriesNotMade) and
//                                                tests/host/shortcuts_test.cpp
//                                                (AFailedFirstLinkStopsTheRest)
//   an installBase of 250 to 259 characters,     only the folder chooser sets it, Wine's
//   and installBase inside 表示 / 能力             own browser, into which no path can be
//                                                typed; selected from outside by
//                                                BFFM_SETSELECTIONA it took folders of the
//                                                prefix but not ones the driver had just
//                                                made. On the sim: tests/host/install_test.cpp
//                                                (ABaseTooLongForTheFolderAndItsFilesIs...,
//                                                MakeFolderPathCreatesTheMissingLevels...)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/wine/e2e/desktop.h"
#include "tests/wine/e2e/files.h"
#include "tests/wine/e2e/fonts.h"
#include "tests/wine/e2e/install_record.h"
#include "tests/wine/e2e/message_box.h"
#include "tests/wine/e2e/program.h"
#include "tests/wine/e2e/setup_form.h"
#include "tests/wine/e2e/shell_link.h"
#include "tests/wine/e2e/update_dialog.h"
#include "tests/wine/e2e/update_scene.h"
#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace {

using namespace e2e;

const std::string notInstalledText =
    "インストールがされてませんでした。\nインストールを行ってからアップデートしてください。";
const std::string completedText = "アップデートが完了しました。";
const std::string badRoot = "C:\\velmora-e2e-bad";

const FILETIME installedTime = fileTimeUtc(2003, 4, 1, 9, 0, 0);
const FILETIME stagedAccessTime = fileTimeUtc(2006, 7, 8, 11, 3, 9);
const FILETIME stagedWriteTime = fileTimeUtc(2005, 6, 7, 10, 2, 7);

bool exists(const std::string& path) { return fileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

// Every value under the record's key, as stored: type and bytes.
using StoredValues = std::map<std::string, std::pair<DWORD, std::string>>;

std::optional<StoredValues> storedRecord() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, installRecordKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    StoredValues values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        BYTE data[2048];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS) {
            break;
        }
        values[std::string(name, nameSize)] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
    }
    RegCloseKey(key);
    return values;
}

// A record of this test's making: any type, any length, a value left out.
bool writeRawRecord(const std::string& dir, DWORD dirType, const std::string& cd,
                    bool withInstType) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, installRecordKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD type = 1;
    bool ok = RegSetValueExA(key, "Dir", 0, dirType, reinterpret_cast<const BYTE*>(dir.c_str()),
                             static_cast<DWORD>(dir.size() + 1)) == ERROR_SUCCESS &&
              RegSetValueExA(key, "CD", 0, REG_SZ, reinterpret_cast<const BYTE*>(cd.c_str()),
                             static_cast<DWORD>(cd.size() + 1)) == ERROR_SUCCESS;
    if (withInstType) {
        ok = ok && RegSetValueExA(key, "InstType", 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&type), sizeof type) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return ok;
}

// What one run of Update.exe showed once Update was pressed.
struct UpdateSeen {
    bool dialog = false;
    std::optional<std::string> boxText;  // none: it ended without a box
    std::string boxCaption;
    std::optional<DWORD> exitCode;
};

// Presses Update, answers the box it shows with OK and, when the dialog stays
// (the not-installed warning), leaves it by Cancel.
UpdateSeen runUpdate(const std::string& exePath, const std::string& folder) {
    UpdateSeen seen;
    Program run;
    if (!run.start(exePath, folder)) return seen;
    HWND dialog = waitForUpdateDialog(run, windowTimeoutMs);
    seen.dialog = dialog != nullptr;
    if (!seen.dialog || !clickButton(dialog, updateButtonId)) return seen;
    bool ended = false;
    const std::optional<MessageBoxSeen> box = boxBeforeExit(run, exitTimeoutMs, &ended);
    if (box) {
        seen.boxText = box->text;
        seen.boxCaption = box->caption;
        pressOk(*box);
        pumpFor(500);
        if (run.running() && IsWindow(dialog)) clickButton(dialog, cancelButtonId);
    }
    seen.exitCode = run.waitForExit(exitTimeoutMs);
    return seen;
}

// A folder path of exactly `bytes` bytes under badRoot.
std::string folderOfLength(std::size_t bytes) {
    const std::string parent = badRoot + "\\long\\";
    return parent + std::string(bytes - parent.size(), 'd');
}

// The names of a folder's entries, "." and ".." left out.
std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

class UpdateBadInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(enterTestDesktop());
        ASSERT_TRUE(prepareFonts());
        ASSERT_TRUE(scene.clear());
        ASSERT_TRUE(removeTree(badRoot));
        ASSERT_TRUE(scene.placeProgram(driverFolder() + "\\Update.exe"));
    }
    void TearDown() override {
        scene.clear();
        removeTree(badRoot);
    }

    UpdateSeen run() { return runUpdate(scene.programPath(), UpdateScene::programFolder); }

    UpdateScene scene;
};

// A record row: how "Dir" is stored and whether "InstType" is there.
struct RecordRow {
    const char* name;
    std::size_t dirBytes;  // 0: the scene's installation folder
    DWORD dirType;
    bool withInstType;
    bool counted;  // read as an installation: the update runs
};

const RecordRow recordRows[] = {
    {"Dir258", 258, REG_SZ, true, true},    // all its paths are too long: none is touched
    {"Dir259", 259, REG_SZ, true, true},    // fills the 260-byte field with its NUL
    {"Dir260", 260, REG_SZ, true, false},   // one byte past the field: not installed
    {"Dir261", 261, REG_SZ, true, false},
    {"DirExpandSz", 0, REG_EXPAND_SZ, true, true},  // the type is not looked at
    {"NoInstType", 0, REG_SZ, false, false},
};

class RecordRows : public UpdateBadInput, public ::testing::WithParamInterface<RecordRow> {};

TEST_P(RecordRows, ShowWhatTheRecordAllowsAndLeaveTheRecordAsStored) {
    const RecordRow& row = GetParam();
    const std::string dir = row.dirBytes ? folderOfLength(row.dirBytes) : UpdateScene::installFolder;
    ASSERT_EQ(dir.size(), row.dirBytes ? row.dirBytes : dir.size());
    // The long folders that Windows can hold exist, so that a path cut short
    // inside them would leave a file to be found.
    if (row.dirBytes && row.dirBytes < MAX_PATH) ASSERT_TRUE(makeFolders(dir)) << dir.size();
    ASSERT_TRUE(makeFolders(scene.installedPath("movie")));
    ASSERT_TRUE(scene.install("grd.pac", "old grd.pac", installedTime));
    ASSERT_TRUE(scene.stage("grd.pac", "new grd.pac", stagedAccessTime, stagedWriteTime));
    ASSERT_TRUE(writeRawRecord(dir, row.dirType, "E:\\Velmora", row.withInstType));
    const std::optional<StoredValues> before = storedRecord();
    ASSERT_TRUE(before.has_value());

    const UpdateSeen seen = run();
    ASSERT_TRUE(seen.dialog);
    ASSERT_TRUE(seen.boxText.has_value()) << "no message";
    EXPECT_EQ(*seen.boxText, row.counted ? completedText : notInstalledText);
    EXPECT_EQ(seen.boxCaption, row.counted ? "終了" : "確認");
    EXPECT_EQ(seen.exitCode, std::optional<DWORD>(0));

    EXPECT_TRUE(storedRecord() == before) << "the record changed";
    const bool updatesTheScene = row.counted && row.dirBytes == 0;
    EXPECT_EQ(readFile(scene.installedPath("grd.pac")),
              std::optional<std::string>(updatesTheScene ? "new grd.pac" : "old grd.pac"));
    if (row.dirBytes) {
        // Nothing in the long folder, nothing beside it.
        EXPECT_TRUE(entries(dir).empty());
        EXPECT_EQ(entries(parentFolder(dir)).size(), row.dirBytes < MAX_PATH ? 1u : 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RecordRows, ::testing::ValuesIn(recordRows),
                         [](const ::testing::TestParamInfo<RecordRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(UpdateBadInput, NoUpdateFolderStillReportsCompletionAndTouchesNoContents) {
    ASSERT_TRUE(scene.recordInstallation());
    const char* const names[] = {"Velmora.exe", "grd.pac", "srp_6.pac"};
    for (const char* name : names) ASSERT_TRUE(scene.install(name, std::string("old ") + name, installedTime));
    ASSERT_FALSE(exists(UpdateScene::updateFolder));

    const UpdateSeen seen = run();
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.boxText, std::optional<std::string>(completedText));
    EXPECT_EQ(seen.exitCode, std::optional<DWORD>(0));
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(readFile(scene.installedPath(name)), std::optional<std::string>(std::string("old ") + name));
        const std::optional<FileTimes> times = fileTimes(scene.installedPath(name));
        ASSERT_TRUE(times.has_value());
        EXPECT_TRUE(sameTime(times->lastWrite, installedTime));
    }
    EXPECT_FALSE(exists(UpdateScene::updateFolder)) << "the update made its source folder";
    EXPECT_TRUE(readInstallRecord() == std::optional<InstallRecord>(scene.expectedRecord()));
}

TEST_F(UpdateBadInput, MovieWithoutItsSubfolderEndsTheUpdateSilentlyThere) {
    ASSERT_TRUE(scene.recordInstallation());
    // Before the movie in the first list, the movie, and a name only the second list has.
    const char* const names[] = {"Velmora.exe", "debuglog.txt", "movie/ED.mpg", "srp_6.pac"};
    for (const char* name : names) {
        if (std::string(name) != "movie/ED.mpg") ASSERT_TRUE(scene.install(name, std::string("old ") + name, installedTime));
        ASSERT_TRUE(scene.stage(name, std::string("new ") + name, stagedAccessTime, stagedWriteTime));
    }

    const UpdateSeen seen = run();
    ASSERT_TRUE(seen.dialog);
    EXPECT_FALSE(seen.boxText.has_value()) << "showed \"" << seen.boxText.value_or("") << "\"";
    EXPECT_EQ(seen.exitCode, std::optional<DWORD>(0));
    EXPECT_EQ(readFile(scene.installedPath("Velmora.exe")), std::optional<std::string>("new Velmora.exe"));
    EXPECT_EQ(readFile(scene.installedPath("debuglog.txt")), std::optional<std::string>("new debuglog.txt"));
    EXPECT_FALSE(exists(scene.installedPath("movie"))) << "the update made a folder";
    EXPECT_EQ(readFile(scene.installedPath("srp_6.pac")), std::optional<std::string>("old srp_6.pac"));
    EXPECT_TRUE(readInstallRecord() == std::optional<InstallRecord>(scene.expectedRecord()));
}

TEST_F(UpdateBadInput, TargetReadBySharingProgramKeepsOldContentsUnderTheNewTimes) {
    // A reader that lets others read and write (a scanner, an indexer): the
    // copy's exclusive open fails, the open for the times does not. The file
    // then wears its source's times over its old contents, as a read-only
    // target does, and the update reports completion.
    ASSERT_TRUE(scene.recordInstallation());
    const char* const names[] = {"Velmora.exe", "grd.pac", "srp_6.pac"};
    for (const char* name : names) {
        ASSERT_TRUE(scene.install(name, std::string("old ") + name, installedTime));
        ASSERT_TRUE(scene.stage(name, std::string("new ") + name, stagedAccessTime, stagedWriteTime));
    }
    HANDLE reader = CreateFileA(scene.installedPath("grd.pac").c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const UpdateSeen seen = run();
    CloseHandle(reader);

    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.boxText, std::optional<std::string>(completedText));
    EXPECT_EQ(seen.exitCode, std::optional<DWORD>(0));
    EXPECT_EQ(readFile(scene.installedPath("grd.pac")), std::optional<std::string>("old grd.pac"));
    const std::optional<FileTimes> times = fileTimes(scene.installedPath("grd.pac"));
    ASSERT_TRUE(times.has_value());
    EXPECT_TRUE(sameTime(times->lastWrite, stagedWriteTime)) << formatFileTime(times->lastWrite);
    for (const char* name : {"Velmora.exe", "srp_6.pac"}) {
        EXPECT_EQ(readFile(scene.installedPath(name)), std::optional<std::string>(std::string("new ") + name));
    }
    EXPECT_TRUE(readInstallRecord() == std::optional<InstallRecord>(scene.expectedRecord()));
}

// Folders whose names hold a double-byte character with 0x5C as its second
// byte: ソ 83 5C, 表 95 5C, 能 94 5C. A backslash search that took those bytes
// for separators would read from or write to another folder.
struct ShiftJisRow {
    const char* name;
    const char* programFolder;
    const char* programName;
    const char* installFolder;
};

const ShiftJisRow shiftJisRows[] = {
    {"ProgramInSoftInstallInAbility", "\\ソフト", "Update.exe", "\\能力\\Velmora"},
    // The program's own name holds the byte after its last real backslash.
    {"ProgramNamedDisplay", "\\ソフト\\表示", "表示.exe", "\\表示\\能力"},
};

class ShiftJisFolders : public UpdateBadInput, public ::testing::WithParamInterface<ShiftJisRow> {};

TEST_P(ShiftJisFolders, UpdateReadsBesideTheProgramAndWritesIntoTheRecordedFolder) {
    const ShiftJisRow& row = GetParam();
    const std::string programFolder = badRoot + row.programFolder;
    const std::string program = programFolder + "\\" + row.programName;
    const std::string updateFolder = programFolder + "\\Velmora";
    const std::string installDir = badRoot + row.installFolder;
    const char* const names[] = {"Velmora.exe", "grd.pac", "srp_6.pac"};
    ASSERT_TRUE(makeFolders(updateFolder));
    ASSERT_TRUE(makeFolders(installDir));
    ASSERT_TRUE(copyFile(scene.programPath(), program));
    for (const char* name : names) {
        ASSERT_TRUE(writeFile(installDir + "\\" + name, std::string("old ") + name));
        ASSERT_TRUE(writeFile(updateFolder + "\\" + name, std::string("new ") + name));
        ASSERT_TRUE(setFileTimes(updateFolder + "\\" + name, stagedAccessTime, stagedWriteTime));
    }
    const InstallRecord record{installDir, "E:\\Velmora", 1};
    ASSERT_TRUE(writeInstallRecord(record));
    const std::vector<std::string> rootBefore = entries(badRoot);

    const UpdateSeen seen = runUpdate(program, programFolder);
    ASSERT_TRUE(seen.dialog);
    EXPECT_EQ(seen.boxText, std::optional<std::string>(completedText));
    EXPECT_EQ(seen.exitCode, std::optional<DWORD>(0));
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const std::string target = installDir + "\\" + name;
        EXPECT_EQ(readFile(target), std::optional<std::string>(std::string("new ") + name));
        const std::optional<FileTimes> times = fileTimes(target);
        ASSERT_TRUE(times.has_value());
        EXPECT_TRUE(sameTime(times->lastWrite, stagedWriteTime)) << formatFileTime(times->lastWrite);
    }
    EXPECT_EQ(entries(badRoot), rootBefore) << "a folder or file appeared beside the test's own";
    EXPECT_EQ(entries(installDir).size(), std::size(names));
    EXPECT_TRUE(readInstallRecord() == std::optional<InstallRecord>(record));
}

INSTANTIATE_TEST_SUITE_P(Rows, ShiftJisFolders, ::testing::ValuesIn(shiftJisRows),
                         [](const ::testing::TestParamInfo<ShiftJisRow>& info) {
                             return std::string(info.param.name);
                         });

// Setup.exe with drives that look like the install disc and are not (see
// e2e_bad_input_test.sh): neither is taken, so the install copies from the
// Velmora folder beside the program and records that folder as "CD".
class SetupDiscs : public ::testing::Test {
protected:
    static constexpr const char* installDir = "c:\\Program Files\\Quillane\\Velmora";

    void SetUp() override {
        ASSERT_TRUE(enterTestDesktop());
        ASSERT_TRUE(prepareFonts());
        clearInstallation();
        ASSERT_TRUE(removeTree(badRoot));
        ASSERT_TRUE(makeFolders(sourceFolder()));
        ASSERT_TRUE(copyFile(driverFolder() + "\\Setup.exe", programFolder() + "\\Setup.exe"));
        for (const char* name : sourceNames) {
            ASSERT_TRUE(writeFile(sourceFolder() + "\\" + name, std::string("beside ") + name));
        }
    }
    void TearDown() override {
        program.kill();
        clearInstallation();
        removeTree(badRoot);
    }

    static std::string programFolder() { return badRoot + "\\setup"; }
    static std::string sourceFolder() { return programFolder() + "\\Velmora"; }
    static std::string linkFolder() { return commonProgramsFolder() + "\\Quillane\\Velmora"; }

    static void clearInstallation() {
        removeTree("C:\\Program Files\\Quillane");
        removeTree(linkFolder());
        RemoveDirectoryA(parentFolder(linkFolder()).c_str());
        deleteInstallRecord();
    }

    static constexpr const char* sourceNames[] = {"Velmora.exe", "grd.pac", "readme.txt"};
    Program program;
};

TEST_F(SetupDiscs, CaseOfTheLabelAndAnUnreadableLabelAreNotTheDisc) {
    char label[MAX_PATH + 1] = {};
    ASSERT_EQ(GetDriveTypeA("e:\\"), static_cast<UINT>(DRIVE_CDROM));
    ASSERT_TRUE(GetVolumeInformationA("e:\\", label, sizeof label, nullptr, nullptr, nullptr,
                                      nullptr, 0));
    ASSERT_STREQ(label, "velmora");
    ASSERT_TRUE(exists("e:\\Velmora\\Velmora.exe"));
    // Wine gives an empty CD-ROM drive the empty label rather than failing;
    // the program's answer to a label that cannot be read at all is proved on
    // the sim (tests/host/configure_test.cpp, "unreadable label ...").
    ASSERT_EQ(GetDriveTypeA("f:\\"), static_cast<UINT>(DRIVE_CDROM));
    if (GetVolumeInformationA("f:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0))
        std::printf("f: reads as the label \"%s\" under this Wine\n", label);

    ASSERT_TRUE(program.start(programFolder() + "\\Setup.exe", programFolder()));
    HWND dialog = waitForSetupDialog(program, windowTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(clickButton(dialog, setupIds::install));
    HWND components = waitForComponentDialog(program, windowTimeoutMs);
    ASSERT_NE(components, nullptr);
    ASSERT_TRUE(clickButton(components, componentIds::ok));
    // Its statics carry the id 0xFFFF too: it must be gone before boxes are looked for.
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(components); }, windowTimeoutMs));

    // The folder question, then the completion; nothing else is shown.
    std::vector<std::string> texts;
    for (int i = 0; i < 2; ++i) {
        std::optional<MessageBoxSeen> box = waitForMessageBox(program.id(), exitTimeoutMs, dialog);
        ASSERT_TRUE(box.has_value()) << "after " << texts.size() << " boxes";
        texts.push_back(box->text);
        ASSERT_TRUE(pressButton(*box, i == 0 ? IDYES : IDOK)) << box->text;
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         std::string(installDir) + "\nフォルダを作成します。\nよろしいですか？",
                         "インストールが完了しました。"}));
    ASSERT_TRUE(waitUntil([&] { return controlText(dialog, setupIds::install) == "インストール"; },
                          windowTimeoutMs));
    ASSERT_TRUE(clickButton(dialog, setupIds::exitProgram));
    EXPECT_EQ(program.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));

    const std::optional<InstallRecord> record = readInstallRecord();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(lstrcmpiA(record->cd.c_str(), sourceFolder().c_str()), 0) << record->cd;
    for (const char* name : sourceNames) {
        EXPECT_EQ(readFile(std::string(installDir) + "\\" + name),
                  std::optional<std::string>(std::string("beside ") + name))
            << name;
    }
}

}  // namespace
