// velmora_demo.exe, the Windows half of scripts/demo: installs a game in the
// prefix, stages its update beside a copy of Update.exe, runs the program and
// reports what the update changed.
//
//   velmora_demo.exe --auto         press Update and answer the completion box
//   velmora_demo.exe --interactive  leave both to the person at the display
//
// Screenshots go to the Unix folder VELMORA_E2E_SHOTS names.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "tests/wine/e2e/desktop.h"
#include "tests/wine/e2e/files.h"
#include "tests/wine/e2e/fonts.h"
#include "tests/wine/e2e/message_box.h"
#include "tests/wine/e2e/program.h"
#include "tests/wine/e2e/screenshot.h"
#include "tests/wine/e2e/update_dialog.h"
#include "tests/wine/e2e/update_scene.h"
#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace {

using namespace e2e;

constexpr DWORD personTimeoutMs = 30 * 60 * 1000;

// The installed game and its update: some files old with a new version,
// some without one, one new.
struct DemoFile {
    const char* name;
    int installedKiB;  // 0: not installed
    int stagedKiB;     // 0: no new version
};

const DemoFile demoFiles[] = {
    {"Velmora.exe", 180, 196}, {"grd.pac", 640, 700}, {"vic.pac", 320, 0},
    {"readme.txt", 4, 5},      {"Setting.exe", 40, 0}, {"movie/ED.mpg", 900, 960},
    {"srp_2.pac", 0, 120},
};

const FILETIME installedTime = fileTimeUtc(2004, 11, 26, 18, 30, 0);
const FILETIME updateTime = fileTimeUtc(2005, 3, 18, 12, 0, 0);

std::string filler(const char* name, int kib, char fill) {
    return std::string(name) + "\n" + std::string(static_cast<std::size_t>(kib) * 1024, fill);
}

bool prepare(UpdateScene& scene) {
    if (!scene.clear() || !scene.placeProgram(driverFolder() + "\\Update.exe") ||
        !scene.recordInstallation()) {
        return false;
    }
    for (const DemoFile& f : demoFiles) {
        if (f.installedKiB && !scene.install(f.name, filler(f.name, f.installedKiB, 'o'), installedTime))
            return false;
        if (f.stagedKiB && !scene.stage(f.name, filler(f.name, f.stagedKiB, 'n'), updateTime, updateTime))
            return false;
    }
    return true;
}

struct FileState {
    std::optional<ULONGLONG> size;
    FILETIME lastWrite{};
};

FileState stateOf(const std::string& path) {
    FileState state;
    state.size = fileSize(path);
    if (std::optional<FileTimes> times = fileTimes(path)) state.lastWrite = times->lastWrite;
    return state;
}

std::string describe(const FileState& state) {
    if (!state.size) return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%9llu  %s", static_cast<unsigned long long>(*state.size),
                  formatFileTime(state.lastWrite).c_str());
    return text;
}

const char* change(const FileState& before, const FileState& after) {
    if (!after.size) return "missing";
    if (!before.size) return "added";
    if (*before.size != *after.size || !sameTime(before.lastWrite, after.lastWrite)) return "updated";
    return "unchanged";
}

void printTable(const UpdateScene& scene, const FileState* before) {
    std::printf("\nWhat the update changed in %s (sizes in bytes, last-write times UTC):\n\n",
                UpdateScene::installFolder);
    std::printf("%-14s %-30s %-30s %s\n", "file", "before", "after", "");
    for (std::size_t i = 0; i < std::size(demoFiles); ++i) {
        const FileState after = stateOf(scene.installedPath(demoFiles[i].name));
        std::printf("%-14s %-30s %-30s %s\n", demoFiles[i].name, describe(before[i]).c_str(),
                    describe(after).c_str(), change(before[i], after));
    }
}

void screenshot(HWND window, const char* name) {
    const std::optional<std::string> folder = screenshotFolder();
    if (!folder) return;
    if (std::optional<Shot> shot = saveScreenshot(window, *folder, name))
        std::printf("screenshot: %s\n", shot->unixPath.c_str());
    else
        std::printf("screenshot %s could not be taken\n", name);
}

// Presses Update, shows and answers the completion box as a person would.
bool runAutomatically(Program& program, HWND dialog) {
    std::printf("pressing アップデート\n");
    if (!clickButton(dialog, updateButtonId)) return false;
    bool ended = false;
    const std::optional<MessageBoxSeen> box = boxBeforeExit(program, exitTimeoutMs, &ended);
    if (box) {
        std::printf("message box \"%s\": %s\n", box->caption.c_str(), box->text.c_str());
        screenshot(box->window, "update-complete.png");
        std::printf("pressing OK\n");
        pressOk(*box);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool interactive = argc > 1 && std::strcmp(argv[1], "--interactive") == 0;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    UpdateScene scene;
    if (!enterTestDesktop() || !prepareFonts() || !prepare(scene)) {
        std::printf("could not prepare the prefix\n");
        return 1;
    }
    FileState before[std::size(demoFiles)];
    for (std::size_t i = 0; i < std::size(demoFiles); ++i)
        before[i] = stateOf(scene.installedPath(demoFiles[i].name));
    std::printf("installed game: %s (record HKLM\\%s)\nupdate folder:  %s\n",
                UpdateScene::installFolder, installRecordKey, UpdateScene::updateFolder);

    Program program;
    if (!program.start(scene.programPath(), UpdateScene::programFolder)) {
        std::printf("could not start %s\n", scene.programPath().c_str());
        return 1;
    }
    std::printf("started %s\n", scene.programPath().c_str());
    HWND dialog = waitForUpdateDialog(program, windowTimeoutMs);
    if (dialog == nullptr) {
        std::printf("the dialog did not show\n");
        return 1;
    }
    std::string question = controlText(dialog, questionTextId);
    for (char& c : question)
        if (c == '\n') c = ' ';
    std::printf("dialog \"%s\": %s\n", windowText(dialog).c_str(), question.c_str());
    screenshot(dialog, "update-dialog.png");

    if (interactive) {
        std::printf("\nThe dialog is in the \"%s\" window: press アップデート (or キャンセル),"
                    " then OK.\n", testDesktopXTitle);
    } else if (!runAutomatically(program, dialog)) {
        return 1;
    }
    const std::optional<DWORD> exitCode =
        program.waitForExit(interactive ? personTimeoutMs : exitTimeoutMs);
    if (!exitCode) {
        std::printf("Update.exe did not end\n");
        return 1;
    }
    std::printf("Update.exe ended with exit code %lu\n", *exitCode);
    printTable(scene, before);
    return *exitCode == 0 ? 0 : 1;
}
