// The test side of the simulated file system.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/constants.h"
#include "platform/sim/sim_paths.h"

namespace fs = std::filesystem;
using namespace sim::detail;

namespace sim {

namespace {

// The host path behind a Windows path, whether or not its drive exists; empty when the
// path cannot be parsed.
std::string hostLocked(State& s, const std::string& path) {
    std::optional<WinPath> p = parsePath(s, path);
    return p ? hostOf(s, *p) : std::string();
}

template <class Fill>
void writeHost(const std::string& path, Fill fill) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    if (host.empty()) return;
    makeHostDirs(s, fs::path(host).parent_path());
    bool existed = isHostFile(host);
    {
        std::ofstream out(host, std::ios::binary | std::ios::trunc);
        fill(out);
    }
    if (existed)
        touchWrite(s, host);
    else
        setCreated(s, host, 0x20);
}

}  // namespace

std::string hostRoot() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.root;
}

std::string hostPath(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return hostLocked(s, path);
}

void writeFile(const std::string& path, const std::string& contents) {
    writeHost(path, [&](std::ofstream& out) { out.write(contents.data(), contents.size()); });
}

void writeFileOfSize(const std::string& path, std::uint64_t size, char fill) {
    writeHost(path, [&](std::ofstream& out) {
        const std::string block(65536, fill);
        for (std::uint64_t left = size; left > 0;) {
            std::uint64_t n = left < block.size() ? left : block.size();
            out.write(block.data(), static_cast<std::streamsize>(n));
            left -= n;
        }
    });
}

std::string readFile(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    if (host.empty() || !isHostFile(host)) return "";
    std::ifstream in(host, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    return !host.empty() && isHostFile(host);
}

bool dirExists(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    return !host.empty() && isHostDir(host);
}

std::uint64_t fileSize(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    return host.empty() ? 0 : hostSize(host);
}

void makeDirs(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    if (!host.empty()) makeHostDirs(s, host);
}

Times fileTimes(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    if (host.empty() || !hostExists(host)) return Times{};
    const FileMeta& m = metaOf(s, host);
    return Times{m.creation, m.lastAccess, m.lastWrite};
}

void setFileTimes(const std::string& path, const Times& times) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    if (host.empty() || !hostExists(host)) return;
    FileMeta& m = metaOf(s, host);
    m.creation = times.creation;
    m.lastAccess = times.lastAccess;
    m.lastWrite = times.lastWrite;
}

std::uint32_t attributes(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    if (host.empty() || !hostExists(host)) return 0xFFFFFFFFu;
    return metaOf(s, host).attributes;
}

void setAttributes(const std::string& path, std::uint32_t attributes) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::string host = hostLocked(s, path);
    if (host.empty() || !hostExists(host)) return;
    metaOf(s, host).attributes = normalizedAttributes(attributes, isHostDir(host));
}

int holdOpen(const std::string& path, std::uint32_t access, std::uint32_t share) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return addOpen(s, hostLocked(s, path), access, share);
}

void release(int token) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.opens.erase(token);
}

void limitWrites(std::uint64_t bytes) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.writeBudget = bytes;
}

void limitReads(const std::string& path, std::uint64_t bytes) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.readLimits[hostLocked(s, path)] = bytes;
}

void fakeSize(const std::string& path, std::uint64_t size) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.fakeSizes[hostLocked(s, path)] = size;
}

void setFileClock(platform::FileTime now) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.fileClock = now;
}

std::string currentDirectory() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.currentDirectory;
}

}  // namespace sim
