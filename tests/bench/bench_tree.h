// The full-size game tree of the benchmarks: a file for every name of both
// product lists, sized so that the install list adds up to the profile's
// installMegabytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct TreeFile {
    std::string name;      // a list name; "movie/ED.mpg" holds a subfolder
    std::uint64_t bytes;
    bool inInstallList;
};

// Every distinct name of both lists, install list first, entry 0 being the
// game's executable as the program sets it at start-up.
std::vector<TreeFile> fullSizeTree();
// The names an update copies, in its order: the install list, then the extra list.
std::vector<std::string> updateOrder();
std::uint64_t bytesOf(const std::vector<TreeFile>& tree, const std::string& name);

// Makes the tree under `folder`; false on the first file that cannot be made.
bool makeTree(const std::vector<TreeFile>& tree, const std::string& folder);
void warmTree(const std::vector<TreeFile>& tree, const std::string& folder);
// Deletes the tree's names under `folder`, leaving the folders.
void removeTreeFiles(const std::vector<TreeFile>& tree, const std::string& folder);

// "a\b" for folder "a" and name "b", slashes of the name turned into backslashes.
std::string under(const std::string& folder, const std::string& name);

}  // namespace bench
