#include "engine/setup_engine.h"

#include <cstring>

#include "platform/process.h"

SetupEngine::SetupEngine()
    : installFiles(nullptr),
      extraFiles(nullptr),
      mediaLabels(nullptr),
      registryKey(nullptr) {
    restoreDefaults();
}

SetupEngine::~SetupEngine() { teardown(); }

void SetupEngine::restoreDefaults() {
    teardown();
    companyName[0] = productFolder[0] = productName[0] = '\0';
    installDir[0] = sourceDir[0] = shellFolder[0] = '\0';
    mediaLabelCount = 1;
    busy = 0;
    installType = 0;
    progressControlId = 0;
    bytesCopied = 0;
    requiredMegabytes = 0;
    copyThreadId = 0;
    sourceStream = nullptr;
    targetStream = nullptr;
    dialogWindow = nullptr;
    text::copy(installBase, sizeof installBase, "c:\\Program Files");
    installed = 0;
    cancelState = 0;
    firstFile = 0;
    endFile = endOfList;
    std::memset(selected, 1, sizeof selected);
    progressTarget = 0;
    progressShown = 0;
    bytesPerStep = 0;
}

void SetupEngine::teardown() {
    releaseFileList(installFiles);
    releaseFileList(extraFiles);
    releaseFileList(mediaLabels);
    installFiles = extraFiles = mediaLabels = nullptr;
    closeRecordKey();
}

bool SetupEngine::copySourceDir(char* buffer, std::size_t size) const {
    return text::copy(buffer, size, sourceDir);
}

void SetupEngine::setInstallType(std::int32_t type, std::int32_t first, std::int32_t end) {
    installType = type;
    firstFile = first;
    endFile = end;
}

bool SetupEngine::isSelected(int index) const {
    if (index < 0) return false;
    if (index >= selectedCount) return true;
    return selected[index] == 1;
}

bool programFolder(char* buffer, std::size_t size) {
    char path[text::pathCapacity] = {};
    const std::uint32_t length = platform::getModuleFileName(path, sizeof path);
    // A length that fills the buffer means the path was cut short.
    if (length == 0 || length >= sizeof path) {
        if (size > 0) buffer[0] = '\0';
        return false;
    }
    path[sizeof path - 1] = '\0';
    char* cut = text::lastBackslash(path);
    if (cut == nullptr) {
        if (size > 0) buffer[0] = '\0';
        return false;
    }
    *cut = '\0';
    return text::copy(buffer, size, path);
}
