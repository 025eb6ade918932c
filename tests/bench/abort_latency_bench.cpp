// Abort latency of the install's copy: a request made as the install command
// makes it (cancelState 1 while busy), in the middle of a big file, and the
// worker's end (busy back at 0). Measured in bytes the copy counted after the
// request and in milliseconds.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/setup_engine.h"
#include "tests/bench/bench_clock.h"
#include "tests/bench/bench_engine.h"
#include "tests/bench/bench_files.h"
#include "tests/wine/e2e/files.h"

namespace {

const std::string root = "C:\\velmora-bench";
const std::string sourceFolder = root + "\\disc\\Velmora";
const std::string installFolder = root + "\\install";
constexpr unsigned long long fileBytes = 256ull << 20;
constexpr int runs = 7;

DWORD WINAPI installThread(void*) {
    setupEngine.copySelectedFiles();
    return 0;
}

}  // namespace

int main() {
    e2e::removeTree(root);
    const char* table[] = {"big.pac", "after.pac", nullptr};
    if (!bench::makeFile(sourceFolder + "\\big.pac", fileBytes, 5) ||
        !bench::makeFile(sourceFolder + "\\after.pac", 1 << 20, 6) || !e2e::makeFolders(installFolder)) {
        bench::printNote("abort: the source could not be made");
        return 1;
    }
    bench::prepareCopy(setupEngine, table, sourceFolder, installFolder);

    std::vector<double> bytesAfter, bytesAfterLow, millis;
    bool secondUntouched = true;
    for (int r = 0; r < runs; ++r) {
        bench::warmFile(sourceFolder + "\\big.pac");
        // The count of the run before must not pass for this one's before the copy resets it.
        setupEngine.bytesCopied.store(0);
        HANDLE thread = CreateThread(nullptr, 0, installThread, nullptr, 0, nullptr);
        while (setupEngine.busy.load() == 0) Sleep(0);
        // Somewhere different in the file each time, never at a block edge on purpose.
        const std::uint32_t requestAt = static_cast<std::uint32_t>((16 + 24 * r) << 20) + 4096u * r;
        while (setupEngine.bytesCopied.load() < requestAt && setupEngine.busy.load() != 0) Sleep(0);
        const std::uint32_t before = setupEngine.bytesCopied.load();
        const double start = bench::now();
        std::int32_t none = 0;
        setupEngine.cancelState.compare_exchange_strong(none, 1);
        // The count cannot be read in the same instant as the request: a block
        // counted between the two reads is in the upper bound only.
        const std::uint32_t justAfter = setupEngine.bytesCopied.load();
        // Polled with a sleep: a third spinning thread on two cores would starve the worker.
        while (setupEngine.busy.load() != 0) Sleep(1);
        const double end = bench::now();
        const std::uint32_t after = setupEngine.bytesCopied.load();
        bytesAfterLow.push_back(after - justAfter);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        bytesAfter.push_back(after - before);
        millis.push_back((end - start) * 1000);
        secondUntouched = secondUntouched && !bench::sizeOf(installFolder + "\\after.pac");
        bench::progress(bench::format("abort run %d: request at %u bytes, %u to %u bytes after it, %.2f ms, cancelState %d",
                                      r + 1, before, after - justAfter, after - before, millis.back(),
                                      static_cast<int>(setupEngine.cancelState.load())));
        bench::removeFile(installFolder + "\\big.pac");
        bench::removeFile(installFolder + "\\after.pac");
    }
    if (!secondUntouched) bench::printNote("abort: the copy went on to the next file after a request");
    const double worst = *std::max_element(bytesAfter.begin(), bytesAfter.end());
    const double worstLow = *std::max_element(bytesAfterLow.begin(), bytesAfterLow.end());
    bench::printRow("6. abort latency under Wine, bytes counted after the request (count read just after it / just before it)",
                    bench::format("median %.0f / %.0f B, worst %.0f / %.0f B", bench::median(bytesAfterLow),
                                  bench::median(bytesAfter), worstLow, worst),
                    "one block 65536 B", bench::format("%.2f / %.2f (worst)", worstLow / 65536, worst / 65536), "&le; 65536 B", runs);
    bench::printRow("6. abort latency under Wine, request to the worker's end",
                    bench::format("median %.2f ms, worst %.2f ms", bench::median(millis),
                                  *std::max_element(millis.begin(), millis.end())),
                    "(none)", "(none)", "reported as is", runs);
    e2e::removeTree(root);
    return 0;
}
