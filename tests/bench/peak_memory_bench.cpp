// Peak memory of one copyOneFile of a 1 MiB file and of a 1 GiB file, each in
// a fresh process of its own (this program started again with "child"), read
// from GetProcessMemoryInfo once the copy is done. The parent makes both
// sources first, so that a child does nothing but the copy.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/setup_engine.h"
#include "tests/bench/bench_clock.h"
#include "tests/bench/bench_files.h"
#include "tests/wine/e2e/files.h"
#include "tests/wine/e2e/program.h"

namespace {

const std::string folder = "C:\\velmora-bench\\memory";
constexpr int runs = 3;

struct Peak {
    double workingSet = 0;  // bytes
    double pagefile = 0;
};

std::string sourceOf(const char* label) { return folder + "\\" + label + ".bin"; }
std::string resultOf(const char* label) { return folder + "\\" + label + ".result"; }

int child(const char* label) {
    const std::string target = folder + "\\" + label + ".copy";
    setupEngine.copyOneFile(target.c_str(), sourceOf(label).c_str(), label);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 2;
    const std::string text = bench::format("%lu %lu %llu", static_cast<unsigned long>(counters.PeakWorkingSetSize),
                                           static_cast<unsigned long>(counters.PeakPagefileUsage),
                                           static_cast<unsigned long long>(bench::sizeOf(target)));
    bench::removeFile(target);
    return e2e::writeFile(resultOf(label), text) ? 0 : 3;
}

bool runChild(const char* label, Peak* peak, unsigned long long* copied) {
    const std::string self = e2e::driverFolder() + "\\peak_memory_bench.exe";
    std::string commandLine = "\"" + self + "\" child " + label;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    const std::optional<std::string> text = e2e::readFile(resultOf(label));
    unsigned long workingSet = 0, pagefile = 0;
    if (code != 0 || !text || std::sscanf(text->c_str(), "%lu %lu %llu", &workingSet, &pagefile, copied) != 3)
        return false;
    peak->workingSet = workingSet;
    peak->pagefile = pagefile;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "child") == 0) return child(argv[2]);

    e2e::removeTree("C:\\velmora-bench");
    const struct {
        const char* label;
        unsigned long long bytes;
    } files[] = {{"1MiB", 1ull << 20}, {"1GiB", 1ull << 30}};
    for (const auto& f : files) {
        if (!bench::makeFile(sourceOf(f.label), f.bytes, 3)) return 1;
        bench::warmFile(sourceOf(f.label));
    }
    std::vector<double> small[2], big[2];
    for (int run = 0; run < runs; ++run) {
        for (const auto& f : files) {
            Peak peak;
            unsigned long long copied = 0;
            if (!runChild(f.label, &peak, &copied) || copied != f.bytes) {
                bench::printNote(bench::format("memory: the %s child failed", f.label));
                return 1;
            }
            std::vector<double>* into = f.bytes == (1ull << 20) ? small : big;
            into[0].push_back(peak.workingSet);
            into[1].push_back(peak.pagefile);
            bench::progress(bench::format("memory %s run %d: peak working set %.0f KiB, peak pagefile %.0f KiB",
                                          f.label, run + 1, peak.workingSet / 1024, peak.pagefile / 1024));
        }
    }
    const char* kinds[] = {"PeakWorkingSetSize", "PeakPagefileUsage"};
    for (int k = 0; k < 2; ++k) {
        const double s = bench::median(small[k]);
        const double b = bench::median(big[k]);
        bench::printRow(bench::format("4. peak memory under Wine, %s", kinds[k]),
                        bench::format("1 GiB copy %.2f MiB", b / bench::mebibyte),
                        bench::format("1 MiB copy %.2f MiB", s / bench::mebibyte),
                        bench::format("%+.2f MiB (%.3f)", (b - s) / bench::mebibyte, b / s),
                        "difference &le; 1 MiB", runs);
    }
    e2e::removeTree("C:\\velmora-bench");
    return 0;
}
