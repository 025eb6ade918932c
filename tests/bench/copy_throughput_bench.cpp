// Copy throughput of the engine's copyOneFile against CopyFileA on the same
// warm source, for 1 MiB, 64 MiB and 1 GiB. Each sample copies to a target
// that does not exist yet; the two copies take turns, so that neither always
// runs first on a cache the other has just filled.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/setup_engine.h"
#include "tests/bench/bench_clock.h"
#include "tests/bench/bench_files.h"
#include "tests/wine/e2e/files.h"

namespace {

const std::string folder = "C:\\velmora-bench\\throughput";

struct Size {
    const char* label;
    std::uint64_t bytes;
    int copiesPerSample;  // small files: several copies per sample, so that the timer resolves it
    int samples;
};

const Size sizes[] = {
    {"1 MiB", 1 << 20, 32, 15},
    {"64 MiB", 64 << 20, 1, 9},
    {"1 GiB", 1ull << 30, 1, 7},
};

// Seconds for `copies` fresh copies of source, the targets deleted after the clock stops.
template <typename Copy>
double timeCopies(const std::string& source, int copies, Copy copy) {
    std::vector<std::string> targets;
    for (int i = 0; i < copies; ++i) targets.push_back(folder + bench::format("\\target%d.bin", i));
    for (const std::string& t : targets) bench::removeFile(t);
    const double start = bench::now();
    for (const std::string& t : targets) copy(source, t);
    const double seconds = bench::now() - start;
    for (const std::string& t : targets) bench::removeFile(t);
    return seconds;
}

}  // namespace

int main() {
    e2e::removeTree("C:\\velmora-bench");
    for (const Size& size : sizes) {
        const std::string source = folder + "\\source.bin";
        if (!bench::makeFile(source, size.bytes, 7)) {
            bench::printNote(bench::format("copy %s: the source could not be made", size.label));
            return 1;
        }
        bench::warmFile(source);
        // One copy unmeasured first: the first after the source is made finds no
        // free pages in the page cache for its target and runs much slower.
        timeCopies(source, size.copiesPerSample, [](const std::string& from, const std::string& to) {
            CopyFileA(from.c_str(), to.c_str(), FALSE);
        });
        bench::warmFile(source);
        std::vector<double> engineRates, platformRates;
        bool sizesAgree = true;
        for (int s = 0; s < size.samples; ++s) {
            auto engineCopy = [&](const std::string& from, const std::string& to) {
                setupEngine.copyOneFile(to.c_str(), from.c_str(), "source.bin");
                sizesAgree = sizesAgree && bench::sizeOf(to) == size.bytes;
            };
            auto platformCopy = [](const std::string& from, const std::string& to) {
                CopyFileA(from.c_str(), to.c_str(), FALSE);
            };
            const double bytes = static_cast<double>(size.bytes) * size.copiesPerSample;
            double engineSeconds, platformSeconds;
            if (s % 2 == 0) {
                engineSeconds = timeCopies(source, size.copiesPerSample, engineCopy);
                platformSeconds = timeCopies(source, size.copiesPerSample, platformCopy);
            } else {
                platformSeconds = timeCopies(source, size.copiesPerSample, platformCopy);
                engineSeconds = timeCopies(source, size.copiesPerSample, engineCopy);
            }
            engineRates.push_back(bytes / bench::mebibyte / engineSeconds);
            platformRates.push_back(bytes / bench::mebibyte / platformSeconds);
            bench::progress(bench::format("copy %s sample %d: copyOneFile %.0f MiB/s, CopyFileA %.0f MiB/s",
                                          size.label, s + 1, engineRates.back(), platformRates.back()));
        }
        if (!sizesAgree) bench::printNote(bench::format("copy %s: a copyOneFile target had the wrong size", size.label));
        const double engine = bench::median(engineRates);
        const double platform = bench::median(platformRates);
        bench::printRow(bench::format("1. copy throughput under Wine, %s, warm cache", size.label),
                        bench::format("copyOneFile %.0f MiB/s", engine),
                        bench::format("CopyFileA %.0f MiB/s", platform),
                        bench::format("%.2f (of medians %.2f)", bench::pairedRatio(engineRates, platformRates),
                                      engine / platform),
                        size.bytes >= (64u << 20) ? "&ge; 0.95" : "(none)", size.samples);
        bench::removeFile(source);
    }
    e2e::removeTree("C:\\velmora-bench");
    return 0;
}
