// One case of the paths target: the texts and lists it gives the engine, and
// the paths each operation may compose from them.
#pragma once
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "engine/setup_engine.h"
#include "path_oracle.h"

namespace fuzz {

struct Case {
    unsigned flags = 0;
    std::string installDir, sourceDir, installBase, productFolder, company, product;
    std::string modulePath, programs;
    std::vector<std::string> installNames, extraNames;
    bool installed() const { return flags & 1; }
    bool disc() const { return flags & 2; }
    bool files() const { return flags & 4; }
    bool ownModulePath() const { return flags & 8; }
    bool ownPrograms() const { return flags & 16; }
};

const char* const defaultPrograms = "c:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
const char* const defaultModulePath = "c:\\Setup\\Update.exe";
// The names of the three Start-menu links besides the product's own.
const char* const readmeLink = "README";
const char* const uninstallLink = "アンインストール";

// A text as a C string gives it: up to its first NUL.
inline std::string cText(const std::string& text) { return text.c_str(); }

// A table name as its list holds it (file_list_fuzz checks the copy itself).
inline std::string listName(const std::string& name) {
    const std::string text = cText(name);
    return text.empty() || text.size() >= fileNameCapacity ? refusedFileName : text;
}

inline std::vector<std::string> entries(FileList list) {
    std::vector<std::string> names;
    for (int i = 0; fileListEntry(list, i)[0] != '\0'; ++i) names.push_back(fileListEntry(list, i));
    return names;
}

inline std::string entry(FileList list, int index) { return fileListEntry(list, index); }

// Both lists, install list first, as the update and the deletion walk them.
inline std::vector<std::string> allEntries(const SetupEngine& engine) {
    std::vector<std::string> names = entries(engine.installFiles);
    for (const std::string& name : entries(engine.extraFiles)) names.push_back(name);
    return names;
}

// The fields as the program's own setters leave them: refused when too long.
inline void prepare(SetupEngine& engine, const Case& c) {
    text::copy(engine.installDir, sizeof engine.installDir, c.installDir.c_str());
    text::copy(engine.sourceDir, sizeof engine.sourceDir, c.sourceDir.c_str());
    text::copy(engine.installBase, sizeof engine.installBase, c.installBase.c_str());
    engine.installed = c.installed() ? 1 : 0;
}

// Files for the operations to find; a name the host cannot hold is passed over.
inline void writeFiles(const std::vector<std::optional<std::string>>& paths) {
    for (const auto& path : paths) {
        if (!path) continue;
        try {
            sim::writeFile(*path, "x");
        } catch (const std::exception&) {
        }
    }
}

// The program's folder: its path cut at the last backslash, or nothing.
inline std::string programFolderOf(const Case& c) {
    const std::string path = c.ownModulePath() ? c.modulePath : defaultModulePath;
    if (path.size() >= 260) return "";  // GetModuleFileNameA cuts it short
    const std::string whole = cText(path);
    const std::vector<std::size_t> at = realBackslashes(whole);
    return at.empty() ? "" : whole.substr(0, at.back());
}

inline std::string programsFolderOf(const Case& c) {
    if (!c.ownPrograms()) return defaultPrograms;
    return c.programs.size() < 260 ? cText(c.programs) : "";
}

// folder\name.lnk within a path buffer.
inline std::optional<std::string> linkPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return std::nullopt;
    std::string path = folder + "\\" + name + ".lnk";
    if (path.size() > longestPath) return std::nullopt;
    return path;
}

// The company and product folders under the Programs folder, when both fit.
struct MenuFolders {
    std::optional<std::string> company, product;
};
inline MenuFolders menuFolders(const SetupEngine& engine, const Case& c) {
    MenuFolders folders;
    folders.company = join(programsFolderOf(c), engine.companyName);
    if (folders.company) folders.product = join(*folders.company, engine.productName);
    return folders;
}

inline void addLinks(Paths& paths, const std::string& productFolder, const SetupEngine& engine) {
    for (const std::string& name : {std::string(engine.productName), std::string(readmeLink),
                                    std::string(uninstallLink)})
        if (auto path = linkPath(productFolder, name)) paths.insert(*path);
}

// What createStartMenuEntries may touch: the two folders, and for each link
// whose target and file both fit, the target, its folder and the link file.
inline Paths startMenuPaths(const SetupEngine& engine, const Case& c, const std::string& dir) {
    Paths paths;
    const MenuFolders folders = menuFolders(engine, c);
    if (!folders.product) return paths;
    paths.insert(*folders.company);
    paths.insert(*folders.product);
    const std::string names[] = {engine.productName, readmeLink, uninstallLink};
    const int targets[] = {0, 10, 11};
    for (int i = 0; i < 3; ++i) {
        const auto target = join(dir, entry(engine.installFiles, targets[i]));
        const auto link = linkPath(*folders.product, names[i]);
        if (!target || !link) break;  // refused whole: the later links are not made
        paths.insert({*target, dir, *link});
    }
    return paths;
}

inline Paths removalPaths(const SetupEngine& engine, const Case& c) {
    Paths paths;
    const MenuFolders folders = menuFolders(engine, c);
    if (folders.company) paths.insert(*folders.company);
    if (folders.product) {
        paths.insert(*folders.product);
        addLinks(paths, *folders.product, engine);
    }
    return paths;
}

// folder\name for every listed name that fits, in the order of the lists.
inline std::vector<std::string> listedPaths(const std::string& folder,
                                            const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names)
        if (auto path = join(folder, name)) paths.push_back(*path);
    return paths;
}

inline void addAll(Paths& paths, const std::vector<std::string>& more) {
    paths.insert(more.begin(), more.end());
}

}  // namespace fuzz
