// Drive kinds, volume labels and free space.
#include <cstring>
#include <filesystem>

#include "platform/constants.h"
#include "platform/drives.h"
#include "platform/sim/sim_paths.h"

using namespace sim::detail;
using sim::Op;

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The drive a root names: "x:" or "x:\" (GetDriveTypeA also takes a null root: the
// current drive). requireBackslash as GetVolumeInformationA, which wants "x:\".
std::optional<char> rootDrive(State& s, const char* root, bool requireBackslash) {
    if (!root) return lower(s.currentDirectory.empty() ? 'c' : s.currentDirectory[0]);
    std::size_t n = std::strlen(root);
    if (n < 2 || !isLetter(root[0]) || root[1] != ':') return std::nullopt;
    if (n == 2 && !requireBackslash) return lower(root[0]);
    if (n == 3 && (root[2] == '\\' || root[2] == '/')) return lower(root[0]);
    return std::nullopt;
}

void noteProbe(State& s, const char* root) {
    std::string text = str(root);
    if (s.probed.empty() || s.probed.back() != text) s.probed.push_back(text);
}

}  // namespace

namespace platform {

unsigned getDriveType(const char* root) {
    Gate g(Op::getDriveType, {str(root)});
    noteProbe(g.s, root);
    if (g.failed()) return driveUnknown;
    std::optional<char> d = rootDrive(g.s, root, false);
    if (!d) return driveNoRootDir;
    auto it = g.s.drives.find(*d);
    return it == g.s.drives.end() ? driveNoRootDir : it->second.type;
}

bool getVolumeInformation(const char* root, char* volumeName, std::uint32_t volumeNameSize) {
    Gate g(Op::getVolumeInformation, {str(root)}, {volumeNameSize});
    noteProbe(g.s, root);
    if (g.failed()) return false;
    std::optional<char> d = rootDrive(g.s, root, true);
    if (!d) return false;
    auto it = g.s.drives.find(*d);
    if (it == g.s.drives.end() || !it->second.label) return false;
    const std::string& label = *it->second.label;
    if (!volumeName) return true;
    if (label.size() + 1 > volumeNameSize) return false;
    std::memcpy(volumeName, label.c_str(), label.size() + 1);
    return true;
}

bool getDiskFreeSpace(const char* path, std::uint64_t* totalFreeBytes) {
    Gate g(Op::getDiskFreeSpace, {str(path)});
    if (g.failed()) return false;
    State& s = g.s;
    std::optional<WinPath> p = path ? parsePath(s, path) : parsePath(s, s.currentDirectory);
    if (!p || !driveExists(s, p->drive)) return false;
    if (!isHostDir(hostOf(s, *p))) return false;  // the folder must exist
    if (totalFreeBytes) *totalFreeBytes = s.drives[p->drive].freeBytes;
    return true;
}

}  // namespace platform

namespace sim {

void setDrive(char letter, unsigned driveType, std::optional<std::string> label) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    char d = lower(letter);
    std::uint64_t freeBytes = s.drives.count(d) ? s.drives[d].freeBytes : 0;
    s.drives[d] = Drive{driveType, std::move(label), freeBytes};
    std::error_code ignored;
    std::filesystem::create_directories(s.root + "/" + std::string(1, d), ignored);
}

void removeDrive(char letter) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.drives.erase(lower(letter));
}

void setFreeBytes(char letter, std::uint64_t bytes) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.drives.find(lower(letter));
    if (it != s.drives.end()) it->second.freeBytes = bytes;
}

std::vector<std::string> probedRoots() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.probed;
}

}  // namespace sim
