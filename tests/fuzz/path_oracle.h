// What the paths that reach the simulated Windows may be: the whole composition
// of their parts, at most 259 bytes, never a cut-off text that names another
// file. Composed here independently of engine/text.h.
#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "platform/sim/sim.h"

namespace fuzz {

constexpr std::size_t longestPath = 259;  // a path and its NUL in 260 bytes

using Paths = std::set<std::string>;

inline bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Positions of the backslashes that are characters of their own, not trail bytes.
inline std::vector<std::size_t> realBackslashes(const std::string& text) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(text[i]))) {
            ++i;  // a lone lead byte at the end has no trail to step over
            continue;
        }
        if (text[i] == '\\') found.push_back(i);
    }
    return found;
}

inline bool endsWithBackslash(const std::string& text) {
    const std::vector<std::size_t> at = realBackslashes(text);
    return !at.empty() && at.back() + 1 == text.size();
}

// folder\name when the folder is not empty and the whole fits a path buffer.
inline std::optional<std::string> join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return std::nullopt;
    std::string path = folder + "\\" + name;
    if (path.size() > longestPath) return std::nullopt;
    return path;
}

inline std::optional<std::string> join(const std::string& folder, const std::string& middle,
                                       const std::string& name) {
    if (folder.empty()) return std::nullopt;
    return join(folder + "\\" + middle, name);
}

// The path itself and every folder above it, cut before or after a backslash.
inline void addLevels(Paths& paths, const std::string& path) {
    paths.insert(path);
    for (std::size_t at : realBackslashes(path)) {
        paths.insert(path.substr(0, at));
        paths.insert(path.substr(0, at + 1));
    }
    if (path.size() == 2 && path[1] == ':') paths.insert(path + "\\");
}

// The argument of each operation that is a path. The link file's path is
// checked as the program hands it to MultiByteToWideChar; what IPersistFile
// gets back is that conversion's work, not the program's.
struct PathArgument {
    sim::Op op;
    std::size_t index;
};
constexpr PathArgument pathArguments[] = {
    {sim::Op::createFile, 0},       {sim::Op::openStream, 0},
    {sim::Op::setFileAttributes, 0}, {sim::Op::getFileAttributes, 0},
    {sim::Op::copyFile, 0},          {sim::Op::copyFile, 1},
    {sim::Op::deleteFile, 0},        {sim::Op::findFirstFile, 0},
    {sim::Op::changeDirectory, 0},   {sim::Op::makeDirectory, 0},
    {sim::Op::createDirectory, 0},   {sim::Op::removeDirectory, 0},
    {sim::Op::getDiskFreeSpace, 0},  {sim::Op::getLongPathName, 0},
    {sim::Op::shellExecute, 1},      {sim::Op::shellLinkSetPath, 0},
    {sim::Op::shellLinkSetWorkingDirectory, 0}, {sim::Op::multiByteToWide, 0},
    {sim::Op::getDriveType, 0},      {sim::Op::getVolumeInformation, 0},
};

// Every path the sim recorded since the last clearCalls is one of `allowed`.
inline void checkPaths(const char* operation, const Paths& allowed) {
    for (const sim::Call& call : sim::calls()) {
        for (const PathArgument& argument : pathArguments) {
            if (call.op != argument.op || argument.index >= call.texts.size()) continue;
            const std::string& path = call.texts[argument.index];
            const std::string where = std::string(operation) + " " + sim::opName(call.op) + " ";
            check(path.size() <= longestPath, "path over 259 bytes", where + path);
            check(allowed.count(path) == 1, "path not a whole composition", where + path);
        }
    }
}

// The paths given to `op`, in order.
inline std::vector<std::string> pathsOf(sim::Op op) {
    std::vector<std::string> paths;
    for (const sim::Call& call : sim::calls())
        if (call.op == op && !call.texts.empty()) paths.push_back(call.texts[0]);
    return paths;
}

}  // namespace fuzz
