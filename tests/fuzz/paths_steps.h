// The engine operations of the paths target, each on fields set afresh from
// the case, each followed by the check of the paths it handed to the sim.
#pragma once
#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "paths_case.h"
#include "platform/constants.h"

namespace fuzz {

inline void configureStep(SetupEngine& engine, const Case& c) {
    sim::reset();
    if (c.ownModulePath()) sim::setModulePath(c.modulePath);
    const std::string entry0 = listName(c.installNames.empty() ? "" : c.installNames[0]);
    const std::string probe = "e:\\" + cText(c.productFolder) + "\\" + entry0;
    const bool disc = c.disc();
    if (disc) sim::setDrive('e', platform::driveCdrom, std::string("Velmora"));
    if (disc && c.files()) writeFiles({probe});
    if (c.ownPrograms()) {
        try {
            sim::setSpecialFolder(platform::csidlCommonPrograms, c.programs);
        } catch (const std::exception&) {
        }
    }
    std::vector<const char*> install, extra;
    for (const std::string& name : c.installNames) install.push_back(name.c_str());
    for (const std::string& name : c.extraNames) extra.push_back(name.c_str());
    install.push_back(nullptr);
    extra.push_back(nullptr);
    const char* labels[] = {"Velmora", nullptr};

    sim::clearCalls();
    engine.configure(install.data(), extra.data(), labels, nullptr, c.company.c_str(),
                     c.product.c_str(), c.productFolder.c_str(), 0);
    Paths allowed;
    for (char drive = 'c'; drive <= 'z'; ++drive) allowed.insert(std::string(1, drive) + ":\\");
    allowed.insert("e:\\" + cText(c.productFolder) + "\\" + entry(engine.installFiles, 0));
    checkPaths("configure", allowed);
    // The disc's or the program's folder and the product folder, or nothing.
    const std::string source = engine.sourceDir;
    const auto fromDisc = join("e:", engine.productFolder);
    const auto besideProgram = join(programFolderOf(c), engine.productFolder);
    check(source.empty() || source == fromDisc || source == besideProgram,
          "sourceDir not composed of a found folder and the product folder", source);
}

inline void sourceBytesStep(SetupEngine& engine, const Case& c) {
    prepare(engine, c);
    sim::clearCalls();
    engine.selectedSourceBytes();
    const std::vector<std::string> expected =
        listedPaths(engine.sourceDir, entries(engine.installFiles));
    checkPaths("selectedSourceBytes", Paths(expected.begin(), expected.end()));
    check(pathsOf(sim::Op::createFile) == expected, "a listed source that fits was not measured");
}

// One document opened: the path reaches GetLongPathNameA and ShellExecuteA whole.
inline void checkOpened(const char* operation, const std::optional<std::string>& path,
                        Paths allowed) {
    if (path) allowed.insert(*path);
    checkPaths(operation, allowed);
    const std::vector<std::string> expected = path ? std::vector<std::string>{*path}
                                                   : std::vector<std::string>{};
    check(pathsOf(sim::Op::getLongPathName) == expected, "document not opened by its whole path",
          operation);
}

inline void launcherSteps(SetupEngine& engine, const Case& c) {
    prepare(engine, c);
    sim::clearCalls();
    engine.launchGame();
    const auto game = join(engine.installDir, entry(engine.installFiles, 0));
    checkOpened("launchGame", game, game ? Paths{engine.installDir} : Paths{});

    prepare(engine, c);
    sim::clearCalls();
    engine.openReadme();
    checkOpened("openReadme", join(c.installed() ? engine.installDir : engine.sourceDir,
                                   "readme.txt"), {});

    prepare(engine, c);
    sim::clearCalls();
    engine.openManual();
    // The folder above the source folder, cut at a backslash that is no trail byte.
    const std::string source = engine.sourceDir;
    const std::vector<std::size_t> at = realBackslashes(source);
    std::optional<std::string> manual;
    if (!at.empty()) manual = source.substr(0, at.back()) + "\\manual\\manual.html";
    if (manual && manual->size() > longestPath) manual.reset();
    checkOpened("openManual", manual, {});
}

#ifdef VELMORA_FUZZ_INSTALL
inline void startMenuSteps(SetupEngine& engine, const Case& c) {
    prepare(engine, c);
    sim::clearCalls();
    engine.createStartMenuEntries(1);
    checkPaths("createStartMenuEntries", startMenuPaths(engine, c, engine.installDir));

    sim::clearCalls();
    engine.removeStartMenuEntries();
    checkPaths("removeStartMenuEntries", removalPaths(engine, c));
}

inline void deleteSteps(SetupEngine& engine, const Case& c) {
    prepare(engine, c);
    const std::vector<std::string> expected = listedPaths(engine.installDir, allEntries(engine));
    if (c.files() && !expected.empty()) writeFiles({expected.front(), expected.back()});
    sim::clearCalls();
    engine.deleteListedFiles(engine.installDir);
    checkPaths("deleteListedFiles", Paths(expected.begin(), expected.end()));
    check(pathsOf(sim::Op::findFirstFile) == expected, "a listed file that fits was not sought");

    prepare(engine, c);
    sim::clearCalls();
    engine.uninstallProduct();
    Paths allowed = removalPaths(engine, c);
    addAll(allowed, expected);
    checkPaths("uninstallProduct", allowed);
}

#endif

inline void updateStep(SetupEngine& engine, const Case& c) {
    prepare(engine, c);
    const std::string folder = programFolderOf(c);
    Paths allowed;
    for (const std::string& name : allEntries(engine)) {
        const auto source = join(folder, engine.productFolder, name);
        const auto target = join(engine.installDir, name);
        if (source && target) allowed.insert({*source, *target});  // both, or neither
        if (c.files() && source) writeFiles({source});
    }
    sim::clearCalls();
    engine.updateInstallation();
    check(std::string(engine.sourceDir) == folder, "update source not the program's folder",
          engine.sourceDir);
    checkPaths("updateInstallation", allowed);
}

#ifdef VELMORA_FUZZ_INSTALL
// The installation folder, the free space of the base's levels, the folders
// made on the way, the copy, the clean-up after a failure and the Start menu.
inline void installStep(SetupEngine& engine, const Case& c) {
    prepare(engine, c);
    std::string base = engine.installBase;
    if (endsWithBackslash(base)) base.pop_back();
    const std::string dir = base + "\\" + engine.companyName + "\\" + engine.productFolder;
    std::size_t longest = 0;
    for (const std::string& name : allEntries(engine)) longest = std::max(longest, name.size());
    const bool fits = dir.size() + 1 + longest <= longestPath;
    const std::vector<std::string> sources =
        listedPaths(engine.sourceDir, entries(engine.installFiles));
    if (c.files() && !sources.empty()) writeFiles({sources.front(), sources.back()});

    // The wait loop spins on the sim while the worker copies: let the worker run.
    sim::onIdle([] { std::this_thread::yield(); });
    sim::clearCalls();
    engine.install();
    sim::joinThreads();
    const std::string made = engine.installDir;
    check(made == (fits ? dir : ""), "installDir not the whole composition, nor refused", made);
    Paths allowed;
    if (fits) {
        addLevels(allowed, base);
        addLevels(allowed, dir);
        addAll(allowed, sources);
        addAll(allowed, listedPaths(dir, allEntries(engine)));  // copy targets, clean-up
        const Paths menu = startMenuPaths(engine, c, dir);
        allowed.insert(menu.begin(), menu.end());
    }
    checkPaths("install", allowed);
}

#endif

inline void runAllSteps(const Case& c) {
    SetupEngine engine;
    try {
        configureStep(engine, c);
        sourceBytesStep(engine, c);
        launcherSteps(engine, c);
        updateStep(engine, c);
#ifdef VELMORA_FUZZ_INSTALL
        startMenuSteps(engine, c);
        deleteSteps(engine, c);
        installStep(engine, c);
#endif
    } catch (...) {
        sim::joinThreads();
        throw;
    }
    engine.teardown();
    check(sim::liveAllocations() == 0, "lists not freed by teardown");
}

}  // namespace fuzz
