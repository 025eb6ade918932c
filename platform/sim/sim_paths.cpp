// Parsing of Windows paths and their mapping onto the host folder.
#include "platform/sim/sim_paths.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/constants.h"

namespace fs = std::filesystem;

namespace sim::detail {

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool isSep(char c) { return c == '\\' || c == '/'; }

// Checks one name: no character that Windows refuses in a file name.
bool validName(const std::string& name, bool wildcards) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto c = static_cast<unsigned char>(name[i]);
        if (isLeadByte(c) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (c < 0x20) return false;
        switch (c) {
            case '<': case '>': case ':': case '"': case '|': return false;
            case '*': case '?': if (!wildcards) return false; break;
            default: break;
        }
    }
    return true;
}

// The current directory, which is always kept absolute ("c:\Setup").
WinPath currentPath(State& s) {
    WinPath p;
    const std::string& cur = s.currentDirectory;
    if (cur.size() >= 2 && cur[1] == ':') {
        p.drive = lower(cur[0]);
        p.driveTyped = cur[0];
        p.parts = splitPath(cur.substr(2), true);
    }
    return p;
}

// The real name of `name` inside host folder `dir`, matched without regard to case.
std::optional<std::string> findEntry(const std::string& dir, const std::string& name) {
    std::error_code ec;
    if (fs::exists(fs::path(dir) / name, ec)) return name;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (sameName(entry, name)) return entry;
    }
    return std::nullopt;
}

}  // namespace

std::optional<WinPath> parsePath(State& s, const std::string& text, bool wildcards) {
    if (text.empty()) return std::nullopt;
    WinPath cur = currentPath(s);
    WinPath p;
    std::string rest;
    if (text.size() >= 2 && isAsciiLetter(text[0]) && text[1] == ':') {
        p.drive = lower(text[0]);
        p.driveTyped = text[0];
        rest = text.substr(2);
        if ((rest.empty() || !isSep(rest[0])) && p.drive == cur.drive) p.parts = cur.parts;
    } else if (text.size() >= 2 && isSep(text[0]) && isSep(text[1])) {
        return std::nullopt;  // UNC names are not simulated
    } else {
        p.drive = cur.drive;
        p.driveTyped = cur.driveTyped;
        rest = text;
        if (!isSep(text[0])) p.parts = cur.parts;
    }
    for (const std::string& part : splitPath(rest, true)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!p.parts.empty()) p.parts.pop_back();
            continue;
        }
        p.parts.push_back(part);
    }
    for (std::size_t i = 0; i < p.parts.size(); ++i)
        if (!validName(p.parts[i], wildcards && i + 1 == p.parts.size())) return std::nullopt;
    p.trailingSeparator = endsWithSeparator(rest, true);
    return p;
}

std::string windowsText(const WinPath& p) {
    std::string out(1, p.driveTyped);
    out += ":\\";
    for (std::size_t i = 0; i < p.parts.size(); ++i) {
        if (i) out += '\\';
        out += p.parts[i];
    }
    return out;
}

std::string hostOf(State& s, const WinPath& p) {
    std::string host = s.root + "/" + std::string(1, p.drive);
    bool matching = true;
    for (const std::string& part : p.parts) {
        std::optional<std::string> real = matching ? findEntry(host, part) : std::nullopt;
        if (!real) matching = false;
        host += "/" + (real ? *real : part);
    }
    return host;
}

std::string hostOfParent(State& s, const WinPath& p) {
    WinPath parent = p;
    if (!parent.parts.empty()) parent.parts.pop_back();
    return hostOf(s, parent);
}

bool driveExists(State& s, char drive) {
    auto it = s.drives.find(lower(drive));
    return it != s.drives.end() && it->second.type != platform::driveNoRootDir;
}

bool driveWritable(State& s, char drive) {
    auto it = s.drives.find(lower(drive));
    return it != s.drives.end() && it->second.type != platform::driveCdrom &&
           it->second.type != platform::driveNoRootDir;
}

std::optional<Resolved> resolve(State& s, const char* path, bool wildcards) {
    if (!path) return std::nullopt;
    std::optional<WinPath> p = parsePath(s, path, wildcards);
    if (!p || !driveExists(s, p->drive)) return std::nullopt;
    return Resolved{*p, hostOf(s, *p)};
}

bool isHostDir(const std::string& host) {
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isHostFile(const std::string& host) {
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool hostExists(const std::string& host) {
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0;
}

std::uint64_t hostSize(const std::string& host) {
    struct stat st {};
    return ::stat(host.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

}  // namespace sim::detail
