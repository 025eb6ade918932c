// Opening the game and its documents with the programs the shell associates.
#include <cstring>

#include "engine/setup_engine.h"
#include "engine/text.h"
#include "platform/constants.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace {

bool comFailed(platform::Status result) {
    return result == platform::eUnexpected || result == platform::eOutOfMemory ||
           result == platform::eInvalidArg;
}

}  // namespace

bool SetupEngine::openDocument(const char* path, const char* parameters) {
    if (comFailed(platform::coInitialize())) return false;
    char longPath[text::pathCapacity] = {};
    const std::uint32_t length = platform::getLongPathName(path, longPath, sizeof longPath);
    // Without a long form (a missing file, say) the path is opened as it is.
    const char* opened = (length == 0 || length >= sizeof longPath) ? path : longPath;
    platform::shellExecute(nullptr, "open", opened, parameters, "", platform::swShowNormal);
    platform::coUninitialize();
    return true;
}

bool SetupEngine::launchGame() {
    char path[text::pathCapacity];
    if (!text::joinPath(path, sizeof path, installDir, fileListEntry(installFiles, 0)))
        return false;
    // The game starts in the current directory: its installation folder.
    platform::changeDirectory(installDir);
    return openDocument(path, "");
}

bool SetupEngine::openReadme() {
    char path[text::pathCapacity];
    if (!text::joinPath(path, sizeof path, installed != 0 ? installDir : sourceDir, "readme.txt"))
        return false;
    return openDocument(path, "");
}

void SetupEngine::openManual() {
    char path[1024];
    if (!copySourceDir(path, sizeof path)) return;
    char* cut = text::lastBackslash(path);
    if (cut == nullptr) return;  // no folder above the product folder to look in
    *cut = '\0';
    // Only a path Windows can open whole is handed on.
    if (std::strlen(path) + std::strlen("\\manual\\manual.html") >= text::pathCapacity) return;
    std::strcat(path, "\\manual\\manual.html");
    openDocument(path, "");
}
