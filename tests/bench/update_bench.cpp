// The real Update.exe under Wine, driven as tests/wine/e2e_update_test.cpp
// drives it: (2) the update of a full-size installation from a full update
// folder against CopyFileA of the same files in the same order, and (5) the
// time from the program's start to its dialog, drive probe included, against
// a program that only shows a dialog.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/setup_engine.h"
#include "tests/bench/bench_clock.h"
#include "tests/bench/bench_files.h"
#include "tests/bench/bench_tree.h"
#include "tests/wine/e2e/desktop.h"
#include "tests/wine/e2e/files.h"
#include "tests/wine/e2e/message_box.h"
#include "tests/wine/e2e/program.h"
#include "tests/wine/e2e/update_dialog.h"
#include "tests/wine/e2e/update_scene.h"
#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace {

using e2e::UpdateScene;

constexpr int updateRuns = 3;
constexpr int startRuns = 7;
constexpr DWORD longTimeoutMs = 1800000;

// Polls `found` every `intervalMs`, serving this thread's queue meanwhile. Each
// poll walks the windows through the server, so a tight poll would take CPU
// from the program it times: the interval is the figure's resolution.
template <typename Found>
auto pollFor(Found found, DWORD intervalMs, DWORD timeoutMs) -> decltype(found()) {
    const DWORD start = GetTickCount();
    for (;;) {
        auto result = found();
        if (result || GetTickCount() - start >= timeoutMs) return result;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(intervalMs);
    }
}

HWND dialogOf(DWORD processId, const char* title) {
    e2e::WindowQuery query;
    query.className = e2e::dialogClass;
    query.title = title;
    query.processId = processId;
    const std::vector<HWND> shown = e2e::findWindows(query);
    return shown.empty() ? nullptr : shown.front();
}

// Seconds from the program's start to its dialog; the dialog is then cancelled.
std::optional<double> timeToDialog(const std::string& exe, const std::string& folder, const char* title) {
    e2e::Program program;
    const double start = bench::now();
    if (!program.start(exe, folder)) return std::nullopt;
    HWND dialog = pollFor([&] { return dialogOf(program.id(), title); }, 10, e2e::windowTimeoutMs);
    const double seconds = bench::now() - start;
    if (!dialog) return std::nullopt;
    e2e::clickButton(dialog, IDCANCEL);
    program.waitForExit(e2e::exitTimeoutMs);
    return seconds;
}

// Seconds from the click on Update to the completion message.
std::optional<double> timeUpdate(UpdateScene& scene) {
    e2e::Program program;
    if (!program.start(scene.programPath(), UpdateScene::programFolder)) return std::nullopt;
    HWND dialog = e2e::waitForUpdateDialog(program, e2e::windowTimeoutMs);
    if (!dialog) return std::nullopt;
    const double start = bench::now();
    if (!e2e::clickButton(dialog, e2e::updateButtonId)) return std::nullopt;
    const std::optional<e2e::MessageBoxSeen> box =
        pollFor([&] { return e2e::findMessageBox(program.id()); }, 50, longTimeoutMs);
    const double seconds = bench::now() - start;
    if (!box || box->text != "アップデートが完了しました。") return std::nullopt;
    e2e::pressOk(*box);
    program.waitForExit(e2e::exitTimeoutMs);
    return seconds;
}

double timePlainCopy() {
    const double start = bench::now();
    for (const std::string& name : bench::updateOrder())
        CopyFileA(bench::under(UpdateScene::updateFolder, name).c_str(),
                  bench::under(UpdateScene::installFolder, name).c_str(), FALSE);
    return bench::now() - start;
}

// What Update.exe does for each entry, done here in the driver's own process:
// copyOneFile, the attributes, the source's three times. Tells the work of the
// entries from what the separate program adds.
double timeEngineEntries() {
    const double start = bench::now();
    for (const std::string& name : bench::updateOrder()) {
        const std::string source = bench::under(UpdateScene::updateFolder, name);
        const std::string target = bench::under(UpdateScene::installFolder, name);
        setupEngine.copyOneFile(target.c_str(), source.c_str(), name.c_str());
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        HANDLE from = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        HANDLE to = CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        FILETIME c, a, w;
        GetFileTime(from, &c, &a, &w);
        SetFileTime(to, &c, &a, &w);
        CloseHandle(from);
        CloseHandle(to);
    }
    return bench::now() - start;
}

bool installedWhole(const std::vector<bench::TreeFile>& tree) {
    for (const bench::TreeFile& f : tree)
        if (bench::sizeOf(bench::under(UpdateScene::installFolder, f.name)) != f.bytes) return false;
    return true;
}

int startupFigure(UpdateScene& scene) {
    const std::string minimal = e2e::driverFolder() + "\\minimal_dialog.exe";
    std::vector<double> update, reference;
    for (int r = 0; r < startRuns; ++r) {
        const std::optional<double> u = timeToDialog(scene.programPath(), UpdateScene::programFolder,
                                                     e2e::dialogCaption);
        const std::optional<double> m = timeToDialog(minimal, UpdateScene::programFolder, "Minimal dialog");
        if (!u || !m) {
            bench::printNote(!u ? "start-up: the dialog of Update.exe did not show"
                                : "start-up: the dialog of the minimal program did not show");
            return 1;
        }
        update.push_back(*u);
        reference.push_back(*m);
        bench::progress(bench::format("start-up run %d: Update.exe %.0f ms, minimal dialog %.0f ms", r + 1,
                                      *u * 1000, *m * 1000));
    }
    const double u = bench::median(update), m = bench::median(reference);
    bench::printRow("5. start to dialog shown under Wine (24-drive probe included)",
                    bench::format("Update.exe %.0f ms", u * 1000),
                    bench::format("minimal dialog program %.0f ms", m * 1000),
                    bench::format("%.2f (%+.0f ms)", u / m, (u - m) * 1000), "reported as is", startRuns);
    return 0;
}

}  // namespace

int main() {
    UpdateScene scene;
    if (!e2e::enterTestDesktop() || !scene.clear() ||
        !scene.placeProgram(e2e::driverFolder() + "\\Update.exe") || !scene.recordInstallation() ||
        !e2e::makeFolders(bench::under(UpdateScene::installFolder, "movie"))) {
        bench::printNote("update: the scene could not be prepared");
        return 1;
    }
    if (startupFigure(scene) != 0) return 1;

    // What an update costs besides its bytes: an empty update folder, so that
    // every entry fails to open its source, and the completion message.
    std::vector<double> fixedCosts;
    for (int r = 0; r < updateRuns; ++r) {
        const std::optional<double> seconds = timeUpdate(scene);
        if (!seconds) {
            bench::printNote("update: Update.exe did not complete the empty update");
            return 1;
        }
        fixedCosts.push_back(*seconds);
    }
    const double fixedCost = bench::median(fixedCosts);

    const std::vector<bench::TreeFile> tree = bench::fullSizeTree();
    double updateBytes = 0, installBytes = 0;
    for (const std::string& name : bench::updateOrder()) updateBytes += static_cast<double>(bench::bytesOf(tree, name));
    for (const bench::TreeFile& f : tree)
        if (f.inInstallList) installBytes += static_cast<double>(f.bytes);
    bench::progress(bench::format("update: making the update folder (install list %.0f MiB)",
                                  installBytes / bench::mebibyte));
    if (!bench::makeTree(tree, UpdateScene::updateFolder)) {
        bench::printNote("update: the update folder could not be made");
        return 1;
    }
    // One copy unmeasured first: the first pass after the folder is made finds
    // no free pages in the page cache for its targets and runs much slower.
    timePlainCopy();
    bench::removeTreeFiles(tree, UpdateScene::installFolder);
    std::vector<double> updateRates, copyRates, entryRates;
    for (int r = 0; r < updateRuns; ++r) {
        bench::warmTree(tree, UpdateScene::updateFolder);
        const double entrySeconds = timeEngineEntries();
        const bool entriesWhole = installedWhole(tree);
        bench::removeTreeFiles(tree, UpdateScene::installFolder);
        if (!entriesWhole) bench::printNote("update: the engine's entries in the driver left a file short");
        entryRates.push_back(updateBytes / bench::mebibyte / entrySeconds);
        bench::progress(bench::format("update run %d engine entries in the driver: %.2f s", r + 1, entrySeconds));
        for (int k = 0; k < 2; ++k) {
            const bool real = (r + k) % 2 == 0;
            bench::warmTree(tree, UpdateScene::updateFolder);
            std::optional<double> seconds = real ? timeUpdate(scene) : std::optional<double>(timePlainCopy());
            const bool whole = installedWhole(tree);
            bench::removeTreeFiles(tree, UpdateScene::installFolder);
            if (!seconds || !whole) {
                bench::printNote(real ? "update: Update.exe did not complete the update"
                                      : "update: the plain copy did not complete");
                return 1;
            }
            (real ? updateRates : copyRates).push_back(updateBytes / bench::mebibyte / *seconds);
            bench::progress(bench::format("update run %d %s: %.2f s, %.0f MiB/s", r + 1,
                                          real ? "Update.exe" : "CopyFileA", *seconds,
                                          (real ? updateRates : copyRates).back()));
        }
    }
    const double u = bench::median(updateRates), c = bench::median(copyRates);
    bench::printRow(bench::format("2. full-size update under Wine (install list %.0f MiB, %.0f MiB copied)",
                                  installBytes / bench::mebibyte, updateBytes / bench::mebibyte),
                    bench::format("Update.exe %.0f MiB/s", u), bench::format("CopyFileA %.0f MiB/s", c),
                    bench::format("%.2f (of medians %.2f)", bench::pairedRatio(updateRates, copyRates), u / c),
                    "&ge; 0.9", updateRuns);
    const double withoutFixed = updateBytes / bench::mebibyte / (updateBytes / bench::mebibyte / u - fixedCost);
    const double e = bench::median(entryRates);
    bench::printRow("2. (diagnosis) the update's entries (copyOneFile, attributes, times) in the driver's process",
                    bench::format("%.0f MiB/s", e), bench::format("CopyFileA %.0f MiB/s", c),
                    bench::format("%.2f", e / c), "(diagnosis)", updateRuns);
    bench::printRow("2. (diagnosis) click to completion message with an empty update folder",
                    bench::format("%.2f s; the full update less this: %.0f MiB/s", fixedCost, withoutFixed),
                    bench::format("CopyFileA %.0f MiB/s", c), bench::format("%.2f", withoutFixed / c),
                    "(diagnosis)", updateRuns);
    scene.clear();
    return 0;
}
