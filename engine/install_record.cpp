#include <cstring>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/registry.h"
#include "shell/product_profile.h"

namespace {

// A text must come back into its 260-byte field with its NUL.
constexpr std::size_t longestStoredText = text::pathCapacity - 2;

}  // namespace

void SetupEngine::closeRecordKey() {
    if (registryKey == nullptr) return;
    platform::regCloseKey(registryKey);
    registryKey = nullptr;
}

bool SetupEngine::createRecordKey(const char* path) {
    closeRecordKey();
    platform::RegKey key = nullptr;
    if (platform::regCreateKey(path, platform::regOptionNonVolatile, platform::keyAllAccess,
                               &key) != platform::errorSuccess) {
        return false;
    }
    registryKey = key;
    return true;
}

bool SetupEngine::openRecordKey(const char* path) {
    closeRecordKey();
    platform::RegKey key = nullptr;
    if (platform::regOpenKey(path, platform::keyAllAccess, &key) != platform::errorSuccess) {
        return false;
    }
    registryKey = key;
    return true;
}

bool SetupEngine::setRecordValue(const char* name, std::uint32_t type, const void* data,
                                 std::uint32_t byteCount) {
    if (platform::regSetValue(registryKey, name, type, data, byteCount) != platform::errorSuccess) {
        closeRecordKey();
        return false;
    }
    return true;
}

bool SetupEngine::queryRecordValue(const char* name, std::uint32_t type, void* buffer,
                                   std::uint32_t bufferSize) {
    std::uint32_t storedType = type;
    std::uint32_t size = bufferSize;
    if (platform::regQueryValue(registryKey, name, &storedType, buffer, &size) !=
        platform::errorSuccess) {
        closeRecordKey();
        return false;
    }
    return true;
}

namespace {

// Reads a text value through a zeroed buffer of the field's size, so that the
// field only ever receives a terminated text: a failed read leaves it as it was,
// and a value that fills all 260 bytes without its NUL counts as a failed read.
bool queryText(SetupEngine& engine, const char* name, char* field) {
    char buffer[text::pathCapacity] = {};
    if (!engine.queryRecordValue(name, platform::regSz, buffer, sizeof buffer)) return false;
    if (std::memchr(buffer, '\0', sizeof buffer) == nullptr) {
        engine.closeRecordKey();
        return false;
    }
    std::memcpy(field, buffer, sizeof buffer);
    return true;
}

}  // namespace

bool SetupEngine::readInstallRecord() {
    if (!openRecordKey(productProfile.productKeyPath)) return false;
    if (!queryText(*this, "Dir", installDir)) return false;
    if (!queryText(*this, "CD", sourceDir)) return false;
    if (!queryRecordValue("InstType", platform::regDword, &installType, sizeof installType))
        return false;
    closeRecordKey();
    return true;
}

bool SetupEngine::writeInstallRecord() {
    // The stored text is followed by two NULs; a longer text could not be read
    // back into its field, and writing it would read past the field.
    const std::size_t dirLength = strnlen(installDir, sizeof installDir);
    const std::size_t cdLength = strnlen(sourceDir, sizeof sourceDir);
    if (dirLength > longestStoredText || cdLength > longestStoredText) return false;

    // Copies in zeroed buffers, so that both bytes after the text are NULs
    // whatever an earlier, longer text left in the field.
    char dir[text::pathCapacity] = {};
    char cd[text::pathCapacity] = {};
    std::memcpy(dir, installDir, dirLength);
    std::memcpy(cd, sourceDir, cdLength);

    if (!createRecordKey(productProfile.productKeyPath)) return false;
    if (!setRecordValue("Dir", platform::regSz, dir, static_cast<std::uint32_t>(dirLength + 2)))
        return false;
    if (!setRecordValue("CD", platform::regSz, cd, static_cast<std::uint32_t>(cdLength + 2)))
        return false;
    if (!setRecordValue("InstType", platform::regDword, &installType, sizeof installType))
        return false;
    closeRecordKey();
    return true;
}

bool SetupEngine::deleteInstallRecord(const char* keyPath) {
    return platform::regDeleteKey(keyPath) == platform::errorSuccess;
}
