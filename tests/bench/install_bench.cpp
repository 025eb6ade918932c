// The install's copy of the full-size tree with its progress display (the
// wait loop of copySelectedFiles: status ticks, the bar, the queue) against
// the same worker over the same selection while the waiting thread simply
// blocks on it. The status lines and the bar are real controls of a window
// this program's first thread owns and serves, as the setup dialog's thread
// does; the copy runs on a second thread, as the install thread does.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "engine/background_copy.h"
#include "engine/dialog_window.h"
#include "engine/setup_engine.h"
#include "tests/bench/bench_clock.h"
#include "tests/bench/bench_engine.h"
#include "tests/bench/bench_files.h"
#include "tests/bench/bench_tree.h"
#include "tests/wine/e2e/files.h"

namespace {

const std::string root = "C:\\velmora-bench";
const std::string sourceFolder = root + "\\disc\\Velmora";
const std::string installFolder = root + "\\Games\\Quillane\\Velmora";
constexpr int runs = 5;

enum class Wait { display, loopWithoutWindow, blocking };
const char* const waitNames[] = {"with display", "wait loop, no window", "blocking wait"};

struct Run {
    Wait wait;
    double wallSeconds = 0;
    double waiterCpuSeconds = 0;
    bool finished = false;
};

DWORD WINAPI installThread(void* argument) {
    Run& run = *static_cast<Run*>(argument);
    const double start = bench::now();
    const double cpuStart = bench::threadCpuSeconds();
    if (run.wait != Wait::blocking) {
        run.finished = setupEngine.copySelectedFiles();
    } else {
        setupEngine.cancelState.store(0);
        setupEngine.bytesCopied.store(0);
        setupEngine.busy.store(1);
        DWORD id = 0;
        HANDLE worker = CreateThread(nullptr, 0, copyWorker, &setupEngine, 0, &id);
        if (worker) {
            WaitForSingleObject(worker, INFINITE);
            CloseHandle(worker);
            run.finished = true;
        }
    }
    run.waiterCpuSeconds = bench::threadCpuSeconds() - cpuStart;
    run.wallSeconds = bench::now() - start;
    return 0;
}

// Runs one copy on an install thread while this thread serves the window.
void runCopy(Run& run) {
    HANDLE thread = CreateThread(nullptr, 0, installThread, &run, 0, nullptr);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    }
    CloseHandle(thread);
}

// A window with the three controls the copy addresses: bar 1005, lines 1019 and 1021.
HWND makeProgressWindow() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    HWND window = CreateWindowExA(0, "STATIC", "Velmora bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 420, 160, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 70, 380, 20, window,
                    reinterpret_cast<HMENU>(1005), nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 380, 20, window,
                    reinterpret_cast<HMENU>(1019), nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 40, 380, 20, window,
                    reinterpret_cast<HMENU>(1021), nullptr, nullptr);
    return window;
}

}  // namespace

int main() {
    e2e::removeTree(root);
    std::vector<bench::TreeFile> tree = bench::fullSizeTree();
    std::vector<bench::TreeFile> installTree;
    std::vector<const char*> table;
    double totalBytes = 0;
    for (const bench::TreeFile& f : tree) {
        if (!f.inInstallList) continue;
        installTree.push_back(f);
        totalBytes += static_cast<double>(f.bytes);
    }
    for (const bench::TreeFile& f : installTree) table.push_back(f.name.c_str());
    table.push_back(nullptr);

    bench::progress(bench::format("install: making the %.0f MiB tree", totalBytes / bench::mebibyte));
    if (!bench::makeTree(installTree, sourceFolder) || !e2e::makeFolders(installFolder + "\\movie")) {
        bench::printNote("install: the tree could not be made");
        return 1;
    }
    bench::prepareCopy(setupEngine, table.data(), sourceFolder, installFolder);
    // The engine's window handles are the system's, behind the platform's opaque type.
    HWND window = makeProgressWindow();

    // One copy unmeasured first: the first pass after the tree is made finds no
    // free pages in the page cache for its targets and runs much slower.
    {
        Run warmUp;
        warmUp.wait = Wait::blocking;
        runCopy(warmUp);
        bench::removeTreeFiles(installTree, installFolder);
    }
    // The same loop with no window to write to tells the loop's own turning
    // (queue, yield) from the messages of the status lines and the bar.
    std::vector<double> wall[3], cpu[3];
    for (int r = 0; r < runs; ++r) {
        for (int k = 0; k < 3; ++k) {
            Run run;
            run.wait = static_cast<Wait>((r + k) % 3);
            bench::warmTree(installTree, sourceFolder);
            setupDialogWindow = run.wait == Wait::loopWithoutWindow ? nullptr
                                                                   : reinterpret_cast<platform::Window>(window);
            runCopy(run);
            bool whole = true;
            for (const bench::TreeFile& f : installTree)
                whole = whole && bench::sizeOf(bench::under(installFolder, f.name)) == f.bytes;
            bench::removeTreeFiles(installTree, installFolder);
            if (!run.finished || !whole) {
                bench::printNote("install: a copy did not finish whole");
                return 1;
            }
            wall[static_cast<int>(run.wait)].push_back(run.wallSeconds);
            cpu[static_cast<int>(run.wait)].push_back(run.waiterCpuSeconds);
            bench::progress(bench::format("install run %d %s: %.2f s, waiting thread %.2f s CPU", r + 1,
                                          waitNames[static_cast<int>(run.wait)], run.wallSeconds,
                                          run.waiterCpuSeconds));
        }
    }
    const double gib = totalBytes / bench::gibibyte;
    const double wallWith = bench::median(wall[0]), wallBare = bench::median(wall[1]);
    const double wallWithout = bench::median(wall[2]);
    bench::printRow(bench::format("3. install copy of %.0f MiB under Wine, wall time", totalBytes / bench::mebibyte),
                    bench::format("with progress display %.2f s", wallWith),
                    bench::format("blocking wait %.2f s", wallWithout),
                    bench::format("%.3f (of medians %.3f)", bench::pairedRatio(wall[0], wall[2]),
                                  wallWith / wallWithout),
                    "&lt; 1.05", runs);
    bench::printRow("3. (diagnosis) the same wait loop with no window: no status or bar messages",
                    bench::format("wait loop, no window %.2f s", wallBare),
                    bench::format("blocking wait %.2f s", wallWithout),
                    bench::format("%.3f (of medians %.3f)", bench::pairedRatio(wall[1], wall[2]),
                                  wallBare / wallWithout),
                    "(diagnosis)", runs);
    bench::printRow("3. CPU time of the waiting thread per GiB copied (GetThreadTimes)",
                    bench::format("wait loop %.2f s/GiB (no window %.2f s/GiB)", bench::median(cpu[0]) / gib,
                                  bench::median(cpu[1]) / gib),
                    bench::format("blocking wait %.3f s/GiB", bench::median(cpu[2]) / gib),
                    bench::format("%.2f s of CPU per s of copy", bench::median(cpu[0]) / wallWith),
                    "reported as is", runs);
    DestroyWindow(window);
    e2e::removeTree(root);
    return 0;
}
