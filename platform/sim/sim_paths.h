// Windows paths to host paths, and the per-file bookkeeping the host file system lacks
// (attributes, the three times, who has the file open). Callers hold the state lock.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sim_state.h"

namespace sim::detail {

struct WinPath {
    char drive = 'c';       // lower case; names the host subfolder
    char driveTyped = 'c';  // as written, for the current directory's text
    std::vector<std::string> parts;
    bool trailingSeparator = false;
};

// Absolute, relative ("x", "c:x") and rooted ("\x") paths; "." and ".." folded.
// Fails for UNC paths and names with characters Windows refuses; wildcards are
// allowed only in the last name, and only when asked for.
std::optional<WinPath> parsePath(State& s, const std::string& path, bool wildcards = false);
std::string windowsText(const WinPath& p);
// The host path; existing names are matched without regard to ASCII case.
std::string hostOf(State& s, const WinPath& p);
std::string hostOfParent(State& s, const WinPath& p);

bool driveExists(State& s, char drive);
bool driveWritable(State& s, char drive);  // CD-ROMs are read-only

struct Resolved {
    WinPath path;
    std::string host;
};
// A path on an existing drive, or nothing.
std::optional<Resolved> resolve(State& s, const char* path, bool wildcards = false);

bool isHostDir(const std::string& host);
bool isHostFile(const std::string& host);
bool hostExists(const std::string& host);
std::uint64_t hostSize(const std::string& host);

// Metadata of an existing file or folder, made on first sight.
FileMeta& metaOf(State& s, const std::string& host);
void setCreated(State& s, const std::string& host, std::uint32_t attributes);
// Makes the missing host folders down to `host`, each with fresh metadata.
void makeHostDirs(State& s, const std::string& host);
void forgetMeta(State& s, const std::string& host);
std::uint32_t normalizedAttributes(std::uint32_t attributes, bool directory);
void touchWrite(State& s, const std::string& host);
void touchRead(State& s, const std::string& host);

// Windows sharing: false when the new open conflicts with an existing one.
bool shareAllows(State& s, const std::string& host, std::uint32_t access, std::uint32_t share);
bool openAnywhere(State& s, const std::string& host);
int addOpen(State& s, const std::string& host, std::uint32_t access, std::uint32_t share);

// Disk full: takes up to `bytes` from the write budget and returns what it may write.
std::uint64_t takeWriteBudget(State& s, std::uint64_t bytes);

}  // namespace sim::detail
