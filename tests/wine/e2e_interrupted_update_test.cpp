// Update.exe killed part-way under Wine: an installation of about 250 MiB is
// updated, the program is ended by TerminateProcess at one moment of the copy
// (watched from outside: a target growing, a target done), then the update is
// run again to its end. The installation must then be whole: every listed
// file holds its new version with the three times of its source, and the
// record is as it was. The big new files come from e2e_interrupted_update_test.sh.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "tests/wine/e2e/desktop.h"
#include "tests/wine/e2e/files.h"
#include "tests/wine/e2e/fonts.h"
#include "tests/wine/e2e/install_record.h"
#include "tests/wine/e2e/message_box.h"
#include "tests/wine/e2e/program.h"
#include "tests/wine/e2e/update_dialog.h"
#include "tests/wine/e2e/update_scene.h"
#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace {

using namespace e2e;

const char* const completedText = "アップデートが完了しました。";

// A whole update of 250 MiB takes some ten seconds under emulation; this is
// only the point at which a stuck run counts as failed.
constexpr DWORD copyTimeoutMs = 300000;
constexpr ULONGLONG mebibyte = 1024 * 1024;

const FILETIME installedTime = fileTimeUtc(2003, 4, 1, 9, 0, 0);
FILETIME stagedWrite(WORD n) { return fileTimeUtc(2005, 6, n, 10, n, 7); }
FILETIME stagedAccess(WORD n) { return fileTimeUtc(2006, 7, n, 11, n, 9); }

struct ListedFile {
    const char* name;
    ULONGLONG bigBytes;  // staged by the hook when not 0; else written here
};

// In the order the update visits them: the first list, then the second.
const ListedFile listedFiles[] = {
    {"Velmora.exe", 0},
    {"grd.pac", 100 * mebibyte},
    {"vic.pac", 0},
    {"se.pac", 100 * mebibyte},
    {"sse.pac", 0},
    {"readme.txt", 0},
    {"grd_2.pac", 0},  // in both lists: copied twice
    {"movie/ED.mpg", 0},
    {"srp_5.pac", 48 * mebibyte},
    {"srp_6.pac", 0},  // the last name of the second list
};

std::string smallContents(const char* name, int index) {
    // Some span several 64 KiB blocks, so the block loop runs for them too.
    return "new " + std::string(name) + "\n" + std::string(index * 40000 + 17, 'n');
}

std::string oldContents(const char* name) { return "old " + std::string(name); }

std::string installedPath(const std::string& name) { return UpdateScene().installedPath(name); }
std::string stagedPath(const std::string& name) { return UpdateScene().stagedPath(name); }

// When to end the program, watched on one target.
enum class Watch {
    grown,     // the target has reached `fraction` of its new size, not all of it
    finished,  // the target carries its source's write time: its entry is done
};

struct KillPoint {
    const char* moment;
    const char* file;
    Watch watch;
    double fraction;
};

const KillPoint killPoints[] = {
    {"early in the first big file", "grd.pac", Watch::grown, 0.01},
    {"middle of the first big file", "grd.pac", Watch::grown, 0.5},
    {"between files: first big file just done", "grd.pac", Watch::finished, 0},
    {"middle of the second big file", "se.pac", Watch::grown, 0.4},
    {"near the end: last big file well on", "srp_5.pac", Watch::grown, 0.6},
    {"near the end: last big file done", "srp_5.pac", Watch::finished, 0},
};

int killPointsTried = 0;

const ListedFile& listed(const std::string& name) {
    for (const ListedFile& f : listedFiles) {
        if (name == f.name) return f;
    }
    return listedFiles[0];
}

WORD fileNumber(const ListedFile& f) { return static_cast<WORD>(&f - listedFiles + 1); }

ULONGLONG newSize(const ListedFile& f) {
    return fileSize(stagedPath(f.name)).value_or(0);
}

// The write time as the folder lists it. The watch must never open a target:
// a reader at the moment the program opens it for writing makes that copy
// fail, and the update then puts the new times on the old contents.
std::optional<FILETIME> listedWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return data.ftLastWriteTime;
}

bool reached(const KillPoint& point) {
    const ListedFile& f = listed(point.file);
    if (point.watch == Watch::finished) {
        const std::optional<FILETIME> written = listedWriteTime(installedPath(f.name));
        return written && sameTime(*written, stagedWrite(fileNumber(f)));
    }
    const ULONGLONG size = fileSize(installedPath(f.name)).value_or(0);
    const ULONGLONG full = newSize(f);
    return size >= static_cast<ULONGLONG>(point.fraction * static_cast<double>(full)) &&
           size < full;
}

// Polls `condition` every millisecond or so, serving the driver's queue: the
// copy runs at many MiB per poll of waitUntil, too coarse for a kill point.
bool watchUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(1);
    }
}

class InterruptedUpdate : public ::testing::TestWithParam<KillPoint> {
protected:
    static void SetUpTestSuite() {
        if (!enterTestDesktop() || !prepareFonts()) return;
        UpdateScene scene;
        // The update folder holds the hook's big files: only the program and
        // the small files are added here.
        if (!scene.placeProgram(driverFolder() + "\\Update.exe")) return;
        for (const ListedFile& f : listedFiles) {
            const WORD n = fileNumber(f);
            const int index = n - 1;
            if (f.bigBytes == 0) {
                if (!scene.stage(f.name, smallContents(f.name, index), stagedAccess(n),
                                 stagedWrite(n))) {
                    return;
                }
            } else if (fileSize(stagedPath(f.name)) != std::optional<ULONGLONG>(f.bigBytes) ||
                       !setFileTimes(stagedPath(f.name), stagedAccess(n), stagedWrite(n))) {
                return;
            }
        }
        staged = true;
    }
    static void TearDownTestSuite() {
        std::printf("kill points tried: %d of %d\n", killPointsTried,
                    static_cast<int>(std::size(killPoints)));
        removeTree(UpdateScene::installFolder);
        deleteInstallRecord();
    }

    // The installation before the update: old versions and the record.
    void SetUp() override {
        ASSERT_TRUE(staged) << "the update folder was not prepared (see the .sh hook)";
        ASSERT_TRUE(removeTree(UpdateScene::installFolder));
        ASSERT_TRUE(scene.recordInstallation());
        ASSERT_TRUE(makeFolders(scene.installedPath("movie")));
        for (const ListedFile& f : listedFiles) {
            ASSERT_TRUE(scene.install(f.name, oldContents(f.name), installedTime));
        }
    }

    // Starts the program and presses Update; the dialog is gone into the copy.
    bool startUpdate(Program& run) {
        if (!run.start(scene.programPath(), UpdateScene::programFolder)) return false;
        HWND dialog = waitForUpdateDialog(run, windowTimeoutMs);
        return dialog != nullptr && clickButton(dialog, updateButtonId);
    }

    UpdateScene scene;
    static bool staged;
};

bool InterruptedUpdate::staged = false;

TEST_P(InterruptedUpdate, RunAgainToItsEndCompletesTheInstallation) {
    const KillPoint& point = GetParam();
    const ListedFile& watched = listed(point.file);
    {
        Program first;
        ASSERT_TRUE(startUpdate(first));
        bool ended = false;
        ASSERT_TRUE(watchUntil(
            [&] {
                ended = !first.running();
                return ended || reached(point) || findMessageBox(first.id()).has_value();
            },
            copyTimeoutMs))
            << "the copy never reached the point";
        ASSERT_FALSE(ended) << "the program ended before the point";
        ASSERT_FALSE(findMessageBox(first.id()).has_value()) << "the update finished first";
        first.kill();
        ASSERT_FALSE(first.running());
        ++killPointsTried;
    }
    const ULONGLONG sizeAtKill = fileSize(installedPath(watched.name)).value_or(0);
    std::printf("killed at \"%s\": %s holds %llu of %llu bytes\n", point.moment, watched.name,
                sizeAtKill, newSize(watched));
    if (point.watch == Watch::grown) {
        EXPECT_LT(sizeAtKill, newSize(watched)) << "the kill came after the copy of the file";
    }
    EXPECT_TRUE(readInstallRecord() == std::optional<InstallRecord>(scene.expectedRecord()));

    const DWORD rerunStart = GetTickCount();
    Program second;
    ASSERT_TRUE(startUpdate(second));
    const std::optional<MessageBoxSeen> box = waitForMessageBox(second.id(), copyTimeoutMs);
    ASSERT_TRUE(box.has_value()) << "the second run gave no completion message";
    EXPECT_EQ(box->text, completedText);
    EXPECT_EQ(box->caption, "終了");
    ASSERT_TRUE(pressOk(*box));
    EXPECT_EQ(second.waitForExit(exitTimeoutMs), std::optional<DWORD>(0));
    std::printf("the run to the end took %lu ms\n", GetTickCount() - rerunStart);

    for (const ListedFile& f : listedFiles) {
        SCOPED_TRACE(f.name);
        const std::string target = installedPath(f.name);
        const std::string source = stagedPath(f.name);
        // Times first: reading the contents may move the access time.
        const std::optional<FileTimes> got = fileTimes(target);
        const std::optional<FileTimes> want = fileTimes(source);
        ASSERT_TRUE(got.has_value());
        ASSERT_TRUE(want.has_value());
        // Wine may give the creation time as the last write; either way the
        // target must report what its source reports.
        EXPECT_TRUE(sameTime(got->creation, want->creation))
            << formatFileTime(got->creation) << " vs " << formatFileTime(want->creation);
        EXPECT_TRUE(sameTime(got->lastAccess, want->lastAccess))
            << formatFileTime(got->lastAccess) << " vs " << formatFileTime(want->lastAccess);
        EXPECT_TRUE(sameTime(got->lastWrite, want->lastWrite))
            << formatFileTime(got->lastWrite) << " vs " << formatFileTime(want->lastWrite);
        EXPECT_EQ(fileSize(target), fileSize(source));
        EXPECT_EQ(sameContents(target, source), std::optional<bool>(true));
        EXPECT_EQ(fileAttributes(target) & FILE_ATTRIBUTE_READONLY, 0u);
    }
    const std::optional<InstallRecord> record = readInstallRecord();
    ASSERT_TRUE(record.has_value());
    EXPECT_TRUE(*record == scene.expectedRecord()) << "the update must not touch the record";
}

std::string pointName(const ::testing::TestParamInfo<KillPoint>& info) {
    return "Point" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(KillPoints, InterruptedUpdate, ::testing::ValuesIn(killPoints), pointName);

}  // namespace
