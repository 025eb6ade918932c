// Copy throughput of copyOneFile on the host build (the simulated Windows,
// whose files are real files of a temporary host folder) against cp of the
// same warm source, for 1 MiB, 64 MiB and 1 GiB. Prints the ROW and NOTE
// lines that scripts/bench gathers.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "engine/setup_engine.h"
#include "platform/sim/sim.h"

extern char** environ;

namespace {

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

bool runCp(const std::string& from, const std::string& to) {
    const char* argv[] = {"cp", from.c_str(), to.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cp", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void warm(const std::string& host) {
    std::ifstream in(host, std::ios::binary);
    static char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
    }
}

struct Size {
    const char* label;
    std::uint64_t bytes;
    int copiesPerSample;
    int samples;
};

const Size sizes[] = {
    {"1 MiB", 1 << 20, 32, 15},
    {"64 MiB", 64 << 20, 1, 9},
    {"1 GiB", 1ull << 30, 1, 7},
};

}  // namespace

int main() {
    sim::reset();
    const std::string source = "c:\\bench\\source.bin";
    for (const Size& size : sizes) {
        sim::writeFileOfSize(source, size.bytes, 's');
        const std::string hostSource = sim::hostPath(source);
        warm(hostSource);
        // One copy unmeasured first, as under Wine: the first after the source is
        // made finds no free pages in the page cache for its target.
        runCp(hostSource, sim::hostPath("c:\\bench\\warm-up.bin"));
        std::remove(sim::hostPath("c:\\bench\\warm-up.bin").c_str());
        std::vector<double> engineRates, cpRates;
        for (int s = 0; s < size.samples; ++s) {
            double engineSeconds = 0, cpSeconds = 0;
            for (int turn = 0; turn < 2; ++turn) {
                const bool engine = (s + turn) % 2 == 0;
                std::vector<std::string> targets;
                for (int i = 0; i < size.copiesPerSample; ++i)
                    targets.push_back("c:\\bench\\target" + std::to_string(i) + ".bin");
                sim::clearCalls();  // the sim's call record grows with every block
                const double start = now();
                for (const std::string& t : targets) {
                    if (engine) {
                        setupEngine.copyOneFile(t.c_str(), source.c_str(), "source.bin");
                    } else if (!runCp(hostSource, sim::hostPath(t))) {
                        std::printf("NOTE|host copy: cp failed\n");
                        return 1;
                    }
                }
                (engine ? engineSeconds : cpSeconds) = now() - start;
                for (const std::string& t : targets) {
                    if (sim::fileSize(t) != size.bytes) std::printf("NOTE|host copy: a target had the wrong size\n");
                    std::remove(sim::hostPath(t).c_str());
                }
            }
            const double mib = static_cast<double>(size.bytes) * size.copiesPerSample / 1048576.0;
            engineRates.push_back(mib / engineSeconds);
            cpRates.push_back(mib / cpSeconds);
            std::fprintf(stderr, "bench: host copy %s sample %d: copyOneFile %.0f MiB/s, cp %.0f MiB/s\n",
                         size.label, s + 1, engineRates.back(), cpRates.back());
        }
        const double e = median(engineRates), c = median(cpRates);
        std::vector<double> ratios;
        for (std::size_t i = 0; i < engineRates.size(); ++i) ratios.push_back(engineRates[i] / cpRates[i]);
        std::printf("ROW|1. copy throughput on the host (sim backend), %s, warm cache|copyOneFile %.0f MiB/s|"
                    "cp %.0f MiB/s|%.2f (of medians %.2f)|(explained below)|%d\n",
                    size.label, e, c, median(ratios), e / c, size.samples);
        std::fflush(stdout);
        std::remove(hostSource.c_str());
    }
    return 0;
}
