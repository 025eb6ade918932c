// Special folders, COM initialisation, the ANSI-to-UTF-16 conversion, long path names
// and opening documents.
#include <cstring>

#include "platform/constants.h"
#include "platform/shell.h"
#include "platform/sim/sim_paths.h"

using namespace sim::detail;
using sim::Op;

namespace {

constexpr std::size_t maxPath = 260;
constexpr std::intptr_t shellExecuteOk = 42;  // any value above 32
constexpr std::intptr_t seErrFileNotFound = 2, seErrAccessDenied = 5;

void makeFolderOf(State& s, const std::string& windowsPath) {
    std::optional<WinPath> p = parsePath(s, windowsPath);
    if (p && driveExists(s, p->drive)) makeHostDirs(s, hostOf(s, *p));
}

}  // namespace

namespace sim::detail {

void resetShell(State& s) {
    s.specialFolders.clear();
    s.specialFolders[platform::csidlCommonPrograms] =
        "c:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    s.specialFolders[platform::csidlCommonStartMenu] =
        "c:\\ProgramData\\Microsoft\\Windows\\Start Menu";
    for (const auto& folder : s.specialFolders) makeFolderOf(s, folder.second);
    s.coResult = platform::sOk;
    s.links.clear();
    s.persists.clear();
    s.items.clear();
    s.allocators.clear();
    s.savedLinks.clear();
    s.browseAnswer.reset();
    s.browseAnswerHasPath = true;
    s.invalidTyped.clear();
    s.browses.clear();
    s.executed.clear();
}

}  // namespace sim::detail

namespace platform {

bool getSpecialFolderPath(char* buffer, int csidl, bool create) {
    Gate g(Op::getSpecialFolderPath, {}, {num(csidl), create ? 1u : 0u});
    auto it = g.s.specialFolders.find(csidl);
    bool ok = !g.failed() && it != g.s.specialFolders.end() && it->second.size() < maxPath;
    if (!buffer) return false;
    if (!ok) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
    if (create) makeFolderOf(g.s, it->second);
    return true;
}

Status coInitialize() {
    Gate g(Op::coInitialize);
    return g.failed() ? eUnexpected : g.s.coResult;
}

void coUninitialize() { Gate g(Op::coUninitialize); }

int multiByteToWide(const char* text, char16_t* out, int capacity) {
    Gate g(Op::multiByteToWide, {str(text)}, {num(capacity)});
    if (g.failed() || !text || capacity < 0) return 0;
    std::u16string wide = toWide(text);
    int needed = static_cast<int>(wide.size()) + 1;
    if (capacity == 0) return needed;  // asks for the size
    if (!out || needed > capacity) return 0;
    std::memcpy(out, wide.c_str(), sizeof(char16_t) * static_cast<std::size_t>(needed));
    return needed;
}

std::uint32_t getLongPathName(const char* path, char* out, std::uint32_t capacity) {
    Gate g(Op::getLongPathName, {str(path)}, {capacity});
    if (g.failed()) return 0;
    std::optional<Resolved> r = resolve(g.s, path);
    if (!r || !hostExists(r->host)) return 0;
    std::string text = path;  // every simulated name is already its long form
    if (!out || text.size() + 1 > capacity) return static_cast<std::uint32_t>(text.size() + 1);
    std::memcpy(out, text.c_str(), text.size() + 1);
    return static_cast<std::uint32_t>(text.size());
}

std::intptr_t shellExecute(Window, const char* verb, const char* file, const char* parameters,
                           const char* directory, int showCommand) {
    Gate g(Op::shellExecute, {str(verb), str(file), str(parameters), str(directory)},
           {num(showCommand)});
    if (g.failed()) return seErrAccessDenied;
    g.s.executed.push_back(sim::Executed{str(verb), str(file), str(parameters), str(directory),
                                         g.s.currentDirectory});
    std::optional<Resolved> r = resolve(g.s, file);
    return r && hostExists(r->host) ? shellExecuteOk : seErrFileNotFound;
}

}  // namespace platform

namespace sim {

void setSpecialFolder(int csidl, std::optional<std::string> path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!path) {
        s.specialFolders.erase(csidl);
        return;
    }
    s.specialFolders[csidl] = *path;
    makeFolderOf(s, *path);
}

void setCoInitializeResult(platform::Status result) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.coResult = result;
}

std::vector<Executed> executed() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.executed;
}

int liveShellObjects() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    int n = 0;
    for (const auto& link : s.links) n += link.second->refs;
    return n + static_cast<int>(s.persists.size() + s.allocators.size() + s.items.size());
}

}  // namespace sim
