// The installation record the game's installer leaves in the registry, as the
// driver writes it before a run and reads it back after.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

constexpr const char* installRecordKey = "SOFTWARE\\Quillane\\Velmora";

struct InstallRecord {
    std::string dir;     // "Dir", REG_SZ: the installation folder
    std::string cd;      // "CD", REG_SZ: the folder installed from
    DWORD type = 0;      // "InstType", REG_DWORD
};

bool writeInstallRecord(const InstallRecord& record);
// Removes the key; true if it is gone afterwards.
bool deleteInstallRecord();
// The record as stored, or nothing if a value is missing or of another type.
std::optional<InstallRecord> readInstallRecord();

inline bool operator==(const InstallRecord& a, const InstallRecord& b) {
    return a.dir == b.dir && a.cd == b.cd && a.type == b.type;
}

}  // namespace e2e
