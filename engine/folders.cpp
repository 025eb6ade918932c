#include "engine/folders.h"

#include <cstring>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/windowing.h"

namespace {

constexpr unsigned megabyteShift = 20;

// Cuts path to the next level up: "d:\a\b" to "d:\a", "d:\a" to "d:\", "d:" to
// "d:\". False when there is no level left.
bool cutToParent(char* path) {
    const std::size_t length = std::strlen(path);
    const bool drive = length >= 2 && path[1] == ':';
    if (drive && length == 2) {
        path[2] = '\\';
        path[3] = '\0';
        return true;
    }
    char* cut = text::lastBackslash(path);
    if (cut == nullptr) return false;
    if (drive && cut == path + 2) {
        if (cut[1] == '\0') return false;  // the root itself
        cut[1] = '\0';
        return true;
    }
    *cut = '\0';
    return path[0] != '\0';
}

}  // namespace

bool makeFolder(const char* path) {
    if (platform::changeDirectory(path) == 0) return true;
    return platform::makeDirectory(path) == 0;
}

std::uint32_t queryFreeMegabytes(const char* path) {
    // One byte more than a path, so that "d:" can become "d:\".
    char probe[text::pathCapacity + 1];
    if (!text::copy(probe, text::pathCapacity, path)) return 0;
    do {
        std::uint64_t freeBytes = 0;
        if (platform::getDiskFreeSpace(probe, &freeBytes))
            return static_cast<std::uint32_t>(freeBytes >> megabyteShift);
    } while (cutToParent(probe));
    return 0;
}

bool SetupEngine::makeFolderPath(const char* path) {
    // The prefixes are held in path buffers; a longer path could only be cut short.
    if (std::strlen(path) >= text::pathCapacity) return false;
    if (platform::changeDirectory(path) != 0) {
        char question[1024];
        text::format(question, sizeof question, "%s\nフォルダを作成します。\nよろしいですか？",
                     path);
        if (platform::messageBox(dialogWindow, question, "確認",
                                 platform::mbYesNo | platform::mbIconQuestion) == platform::idNo)
            return false;
    }
    // Every level from the top down, each prefix with its trailing backslash.
    for (long at = text::nextBackslash(path, 0); at >= 0;
         at = text::nextBackslash(path, static_cast<std::size_t>(at) + 1)) {
        char level[text::pathCapacity] = {};
        std::memcpy(level, path, static_cast<std::size_t>(at) + 1);
        if (!makeFolder(level)) return false;
    }
    return makeFolder(path);
}
