#include "tests/wine/e2e/files.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace e2e {

namespace {

HANDLE openForTimes(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Byte offsets of the separators of a path; a trail byte of a double-byte
// character may be 0x5C and is not one.
std::vector<std::size_t> separators(const std::string& path) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i]))) {
            ++i;
        } else if (path[i] == '\\' || path[i] == '/') {
            found.push_back(i);
        }
    }
    return found;
}

}  // namespace

bool writeFile(const std::string& path, const std::string& contents) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written,
                              nullptr);
    CloseHandle(file);
    return ok && written == contents.size();
}

std::optional<std::string> readFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string contents;
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) contents.append(block, got);
    CloseHandle(file);
    return contents;
}

std::optional<bool> sameContents(const std::string& a, const std::string& b) {
    HANDLE files[2];
    const std::string* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        files[i] = CreateFileA(paths[i]->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    std::optional<bool> same;
    if (files[0] != INVALID_HANDLE_VALUE && files[1] != INVALID_HANDLE_VALUE) {
        static char blocks[2][65536];
        same = true;
        for (;;) {
            DWORD got[2] = {0, 0};
            for (int i = 0; i < 2; ++i) {
                // ReadFile on a file gives a whole block unless the file ends.
                if (!ReadFile(files[i], blocks[i], sizeof blocks[i], &got[i], nullptr)) got[i] = 0;
            }
            if (got[0] != got[1] || std::memcmp(blocks[0], blocks[1], got[0]) != 0) {
                same = false;
                break;
            }
            if (got[0] == 0) break;
        }
    }
    for (HANDLE file : files) {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    return same;
}

bool copyFile(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool makeFolders(const std::string& path) {
    for (std::size_t at : separators(path)) {
        if (at > 2) CreateDirectoryA(path.substr(0, at).c_str(), nullptr);  // past "C:\"
    }
    CreateDirectoryA(path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool removeTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string parentFolder(const std::string& path) {
    const std::vector<std::size_t> found = separators(path);
    return found.empty() ? std::string() : path.substr(0, found.back());
}

std::optional<FileTimes> fileTimes(const std::string& path) {
    HANDLE file = openForTimes(path, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    FileTimes times;
    const BOOL ok = GetFileTime(file, &times.creation, &times.lastAccess, &times.lastWrite);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return times;
}

bool setFileTimes(const std::string& path, const FILETIME& lastAccess, const FILETIME& lastWrite) {
    HANDLE file = openForTimes(path, GENERIC_READ | GENERIC_WRITE);
    if (file == INVALID_HANDLE_VALUE) return false;
    const BOOL ok = SetFileTime(file, &lastWrite, &lastAccess, &lastWrite);
    CloseHandle(file);
    return ok != FALSE;
}

DWORD fileAttributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool setReadOnly(const std::string& path) {
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
}

std::optional<ULONGLONG> fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool readOnlyRefusesWrites(const std::string& folder) {
    const std::string probe = folder + "\\read-only-probe.tmp";
    if (!writeFile(probe, "probe") || !setReadOnly(probe)) return false;
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool refused = file == INVALID_HANDLE_VALUE;
    if (!refused) CloseHandle(file);
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(probe.c_str());
    return refused;
}

FILETIME fileTimeUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME system{};
    system.wYear = year;
    system.wMonth = month;
    system.wDay = day;
    system.wHour = hour;
    system.wMinute = minute;
    system.wSecond = second;
    FILETIME time{};
    SystemTimeToFileTime(&system, &time);
    return time;
}

std::string formatFileTime(const FILETIME& time) {
    SYSTEMTIME system{};
    if (!FileTimeToSystemTime(&time, &system)) return "?";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", system.wYear, system.wMonth,
                  system.wDay, system.wHour, system.wMinute, system.wSecond);
    return text;
}

bool sameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace e2e
