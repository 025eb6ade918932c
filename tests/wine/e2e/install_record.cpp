#include "tests/wine/e2e/install_record.h"

namespace e2e {

namespace {

bool setText(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::optional<std::string> text(HKEY key, const char* name) {
    char data[1024] = {};
    DWORD type = 0;
    DWORD size = sizeof data - 1;  // room for a terminator the value may lack
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::string(data);
}

}  // namespace

bool writeInstallRecord(const InstallRecord& record) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, installRecordKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool ok = setText(key, "Dir", record.dir) && setText(key, "CD", record.cd) &&
                    RegSetValueExA(key, "InstType", 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&record.type),
                                   sizeof record.type) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool deleteInstallRecord() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, installRecordKey);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, installRecordKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return true;
    RegCloseKey(key);
    return false;
}

std::optional<InstallRecord> readInstallRecord() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, installRecordKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    InstallRecord record;
    std::optional<std::string> dir = text(key, "Dir");
    std::optional<std::string> cd = text(key, "CD");
    DWORD type = 0;
    DWORD size = sizeof record.type;
    const bool typeOk = RegQueryValueExA(key, "InstType", nullptr, &type,
                                         reinterpret_cast<BYTE*>(&record.type),
                                         &size) == ERROR_SUCCESS &&
                        type == REG_DWORD && size == sizeof record.type;
    RegCloseKey(key);
    if (!dir || !cd || !typeOk) return std::nullopt;
    record.dir = *dir;
    record.cd = *cd;
    return record;
}

}  // namespace e2e
