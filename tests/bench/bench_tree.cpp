#include "tests/bench/bench_tree.h"

#include <algorithm>

#include "shell/product_profile.h"
#include "tests/bench/bench_files.h"

namespace bench {

namespace {

constexpr std::uint64_t mib = 1048576;

bool endsWith(const std::string& text, const char* end) {
    const std::string tail(end);
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Pack files carry the data, the movie is the biggest single file, programs
// and texts are small; grd.pac takes what is left of the profile's size.
std::uint64_t plannedBytes(const std::string& name) {
    if (endsWith(name, ".pac")) return 64 * mib;
    if (endsWith(name, ".mpg")) return 96 * mib;
    return 1 * mib;
}

std::vector<std::string> listNames(const char* const* list, bool executableFirst) {
    std::vector<std::string> names;
    for (int i = 0; list[i] != nullptr; ++i)
        names.push_back(i == 0 && executableFirst ? productProfile.executableName : list[i]);
    return names;
}

}  // namespace

std::vector<TreeFile> fullSizeTree() {
    std::vector<TreeFile> tree;
    std::uint64_t installBytes = 0;
    for (const std::string& name : listNames(productProfile.installList, true)) {
        tree.push_back({name, plannedBytes(name), true});
        if (name != "grd.pac") installBytes += plannedBytes(name);
    }
    for (TreeFile& file : tree)
        if (file.name == "grd.pac") file.bytes = productProfile.installMegabytes * mib - installBytes;
    for (const std::string& name : listNames(productProfile.extraList, false)) {
        const bool known = std::any_of(tree.begin(), tree.end(),
                                       [&](const TreeFile& f) { return f.name == name; });
        if (!known) tree.push_back({name, plannedBytes(name), false});
    }
    return tree;
}

std::vector<std::string> updateOrder() {
    std::vector<std::string> order = listNames(productProfile.installList, true);
    for (const std::string& name : listNames(productProfile.extraList, false)) order.push_back(name);
    return order;
}

std::uint64_t bytesOf(const std::vector<TreeFile>& tree, const std::string& name) {
    for (const TreeFile& file : tree)
        if (file.name == name) return file.bytes;
    return 0;
}

std::string under(const std::string& folder, const std::string& name) {
    std::string path = folder + "\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool makeTree(const std::vector<TreeFile>& tree, const std::string& folder) {
    unsigned seed = 1;
    for (const TreeFile& file : tree)
        if (!makeFile(under(folder, file.name), file.bytes, seed++)) return false;
    return true;
}

void warmTree(const std::vector<TreeFile>& tree, const std::string& folder) {
    for (const TreeFile& file : tree) warmFile(under(folder, file.name));
}

void removeTreeFiles(const std::vector<TreeFile>& tree, const std::string& folder) {
    for (const TreeFile& file : tree) removeFile(under(folder, file.name));
}

}  // namespace bench
