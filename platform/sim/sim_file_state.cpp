// Bookkeeping of the simulated file system: metadata, open files, disk budget, and the
// temporary host folder's life.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/constants.h"
#include "platform/sim/sim_paths.h"

namespace fs = std::filesystem;

namespace sim::detail {

namespace {

constexpr std::uint32_t archive = 0x20;
constexpr std::uint32_t knownAttributes = 0x1 | 0x2 | 0x4 | 0x20 | 0x80 | 0x100 | 0x2000;
// 2000-01-01 00:00 UTC, the file system's clock until a test sets it.
constexpr platform::FileTime defaultFileClock{0x256D4000u, 0x01BF53EBu};

bool reads(std::uint32_t access) { return access & (platform::genericRead | 0x10000000u); }
bool writes(std::uint32_t access) { return access & (platform::genericWrite | 0x10000000u); }

std::string makeRoot() {
    char pattern[] = "/tmp/velmora-sim-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) std::abort();  // no host folder, no simulated disk
    return made;
}

}  // namespace

std::uint32_t normalizedAttributes(std::uint32_t attributes, bool directory) {
    std::uint32_t a = attributes & knownAttributes;
    if (directory) a |= platform::fileAttributeDirectory;
    if (a & ~platform::fileAttributeNormal) a &= ~platform::fileAttributeNormal;
    if (a == 0) a = platform::fileAttributeNormal;
    return a;
}

FileMeta& metaOf(State& s, const std::string& host) {
    auto it = s.meta.find(host);
    if (it != s.meta.end()) {
        if (isHostDir(host)) it->second.attributes |= platform::fileAttributeDirectory;
        return it->second;
    }
    std::uint32_t a = isHostDir(host) ? platform::fileAttributeDirectory : archive;
    return s.meta[host] = FileMeta{a, s.fileClock, s.fileClock, s.fileClock};
}

void setCreated(State& s, const std::string& host, std::uint32_t attributes) {
    s.meta[host] = FileMeta{normalizedAttributes(attributes, isHostDir(host)), s.fileClock,
                            s.fileClock, s.fileClock};
}

void forgetMeta(State& s, const std::string& host) { s.meta.erase(host); }

void touchWrite(State& s, const std::string& host) {
    FileMeta& m = metaOf(s, host);
    m.lastWrite = s.fileClock;
    m.lastAccess = s.fileClock;
}

void touchRead(State& s, const std::string& host) { metaOf(s, host).lastAccess = s.fileClock; }

bool shareAllows(State& s, const std::string& host, std::uint32_t access, std::uint32_t share) {
    for (const auto& entry : s.opens) {
        const OpenEntry& o = entry.second;
        if (o.host != host) continue;
        if (reads(access) && !(o.share & platform::fileShareRead)) return false;
        if (writes(access) && !(o.share & platform::fileShareWrite)) return false;
        if (reads(o.access) && !(share & platform::fileShareRead)) return false;
        if (writes(o.access) && !(share & platform::fileShareWrite)) return false;
    }
    return true;
}

bool openAnywhere(State& s, const std::string& host) {
    for (const auto& entry : s.opens)
        if (entry.second.host == host) return true;
    return false;
}

int addOpen(State& s, const std::string& host, std::uint32_t access, std::uint32_t share) {
    int id = s.nextOpenId++;
    s.opens[id] = OpenEntry{host, access, share};
    return id;
}

std::uint64_t takeWriteBudget(State& s, std::uint64_t bytes) {
    if (!s.writeBudget) return bytes;
    std::uint64_t n = bytes < *s.writeBudget ? bytes : *s.writeBudget;
    *s.writeBudget -= n;
    return n;
}

void makeHostDirs(State& s, const std::string& host) {
    std::vector<std::string> missing;
    for (fs::path p = host; !p.empty() && !fs::exists(p); p = p.parent_path()) missing.push_back(p);
    std::error_code ec;
    fs::create_directories(host, ec);
    for (const std::string& dir : missing) setCreated(s, dir, platform::fileAttributeDirectory);
}

void resetFiles(State& s) {
    for (auto& entry : s.streams) ::close(entry.second->fd);
    s.streams.clear();
    s.files.clear();
    s.finds.clear();
    s.opens.clear();
    s.meta.clear();
    s.writeBudget.reset();
    s.readLimits.clear();
    s.fakeSizes.clear();
    s.probed.clear();
    std::error_code ignored;
    if (!s.root.empty()) fs::remove_all(s.root, ignored);
    s.root = makeRoot();
    s.drives.clear();
    s.drives['c'] = Drive{platform::driveFixed, std::string("SYSTEM"), 100ull << 30};
    s.fileClock = defaultFileClock;
    s.currentDirectory = "c:\\Setup";
    fs::create_directories(s.root + "/c", ignored);
}

}  // namespace sim::detail
