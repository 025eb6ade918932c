#include "engine/file_list.h"

#include <cstring>

#include "platform/memory.h"

const char refusedFileName[] = "|";

namespace {

// The list handed out when memory runs out; never freed.
char emptyName[fileNameCapacity] = {};
char* emptyListSlots[1] = {emptyName};

FileList emptyList() {
    emptyName[0] = '\0';
    return emptyListSlots;
}

}  // namespace

void releaseFileList(FileList list) {
    if (list == nullptr || list == emptyListSlots) return;
    for (std::size_t i = 0;; ++i) {
        const bool last = list[i][0] == '\0';
        platform::releaseMemory(list[i]);
        if (last) break;
    }
    platform::releaseMemory(list);
}

FileList copyFileList(FileList oldList, const char* const* table) {
    releaseFileList(oldList);
    std::size_t count = 0;
    while (table != nullptr && table[count] != nullptr) ++count;

    auto list = static_cast<FileList>(platform::allocateZeroed((count + 1) * sizeof(char*)));
    if (list == nullptr) return emptyList();
    for (std::size_t i = 0; i <= count; ++i) {
        auto buffer = static_cast<char*>(platform::allocateZeroed(fileNameCapacity));
        if (buffer == nullptr) {
            // Drop the names made so far: a shortened list would mean other files.
            for (std::size_t j = 0; j < i; ++j) platform::releaseMemory(list[j]);
            platform::releaseMemory(list);
            return emptyList();
        }
        list[i] = buffer;
        if (i == count) break;  // the empty name that ends the list
        const char* name = table[i];
        const std::size_t length = std::strlen(name);
        if (length == 0 || length >= fileNameCapacity) {
            // An empty table name would end the list early, a long one cannot
            // be held: both become a name that no file has.
            std::memcpy(buffer, refusedFileName, sizeof refusedFileName);
        } else {
            std::memcpy(buffer, name, length + 1);
        }
    }
    return list;
}

const char* fileListEntry(FileList list, int index) {
    if (list == nullptr || index < 0) return "";
    for (int i = 0; i <= index; ++i) {
        if (list[i][0] == '\0') return "";
    }
    return list[index];
}
