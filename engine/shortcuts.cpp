#include "engine/shortcuts.h"

#include <cstring>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace {

const char* const readmeLinkName = "README";
const char* const uninstallLinkName = "アンインストール";
constexpr int gameEntry = 0;
constexpr int readmeEntry = 10;
constexpr int uninstallEntry = 11;

bool comInitialised(platform::Status result) {
    return result != platform::eUnexpected && result != platform::eOutOfMemory &&
           result != platform::eInvalidArg;
}

// Fills the link and saves it; the link's interfaces are released by the caller.
bool fillAndSave(platform::ShellLink link, platform::PersistFile file, const char* target,
                 const char* workingDirectory, const char* linkPath) {
    platform::shellLinkSetPath(link, target);
    platform::shellLinkSetWorkingDirectory(link, workingDirectory);
    platform::shellLinkSetIconLocation(link, nullptr, 0);
    platform::shellLinkSetHotkey(link, 0);
    platform::shellLinkSetDescription(link, "");
    platform::shellLinkSetShowCmd(link, platform::swShow);
    char16_t widePath[text::pathCapacity];
    if (platform::multiByteToWide(linkPath, widePath, text::pathCapacity) == 0) return false;
    return platform::persistFileSave(file, widePath, true) == platform::sOk;
}

bool linkPathOf(char* buffer, std::size_t size, const char* folder, const char* linkName) {
    return folder[0] != '\0' && text::format(buffer, size, "%s\\%s.lnk", folder, linkName);
}

}  // namespace

bool getSpecialFolderPath(int csidl, char* buffer, std::size_t size) {
    char path[text::pathCapacity] = {};
    std::memset(buffer, 0, size);
    const bool found = platform::getSpecialFolderPath(path, csidl, false);
    path[sizeof path - 1] = '\0';
    text::copy(buffer, size, path);
    return found;
}

bool createShortcut(const char* linkFolder, const char* targetDir, const char* targetFile,
                    const char* linkName) {
    char target[text::pathCapacity];
    char linkPath[text::pathCapacity];
    if (!text::joinPath(target, sizeof target, targetDir, targetFile) ||
        !linkPathOf(linkPath, sizeof linkPath, linkFolder, linkName)) {
        return false;
    }

    if (!comInitialised(platform::coInitialize())) return false;
    bool saved = false;
    platform::ShellLink link = nullptr;
    if (platform::createShellLink(&link) >= 0 && link != nullptr) {
        platform::PersistFile file = nullptr;
        if (platform::shellLinkQueryPersistFile(link, &file) >= 0 && file != nullptr) {
            saved = fillAndSave(link, file, target, targetDir, linkPath);
            platform::shellLinkRelease(link);
            platform::persistFileRelease(file);
        } else {
            platform::shellLinkRelease(link);
        }
    }
    platform::coUninitialize();
    return saved;
}

bool SetupEngine::createStartMenuEntries(int folderKind) {
    std::memset(shellFolder, 0, sizeof shellFolder);
    int csidl = 0;
    if (folderKind == 0) {
        csidl = platform::csidlCommonStartMenu;
    } else if (folderKind == 1) {
        csidl = platform::csidlCommonPrograms;
    } else {
        return false;
    }
    getSpecialFolderPath(csidl, shellFolder, sizeof shellFolder);

    // Without the special folder the entries would land in the root of the
    // current drive: refused (joinPath takes no empty folder).
    char companyFolder[text::pathCapacity];
    char productFolderPath[text::pathCapacity];
    if (!text::joinPath(companyFolder, sizeof companyFolder, shellFolder, companyName) ||
        !text::joinPath(productFolderPath, sizeof productFolderPath, companyFolder, productName)) {
        return false;
    }
    // Folders that exist already are simply used.
    platform::makeDirectory(companyFolder);
    platform::makeDirectory(productFolderPath);

    if (!createShortcut(productFolderPath, installDir, fileListEntry(installFiles, gameEntry),
                        productName))
        return false;
    if (!createShortcut(productFolderPath, installDir, fileListEntry(installFiles, readmeEntry),
                        readmeLinkName))
        return false;
    return createShortcut(productFolderPath, installDir,
                          fileListEntry(installFiles, uninstallEntry), uninstallLinkName);
}

int SetupEngine::removeStartMenuEntries() {
    getSpecialFolderPath(platform::csidlCommonPrograms, shellFolder, sizeof shellFolder);
    char companyFolder[text::pathCapacity];
    char productFolderPath[text::pathCapacity];
    if (!text::joinPath(companyFolder, sizeof companyFolder, shellFolder, companyName)) return -1;
    if (text::joinPath(productFolderPath, sizeof productFolderPath, companyFolder, productName)) {
        const char* const linkNames[] = {productName, readmeLinkName, uninstallLinkName};
        for (const char* name : linkNames) {
            char linkPath[text::pathCapacity];
            if (linkPathOf(linkPath, sizeof linkPath, productFolderPath, name))
                platform::deleteFile(linkPath);
        }
        // Only an empty folder goes; one with other entries stays.
        platform::removeDirectory(productFolderPath);
    }
    return platform::removeDirectory(companyFolder) ? 0 : -1;
}
