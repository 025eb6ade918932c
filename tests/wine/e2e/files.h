// Files of the prefix as the driver prepares and inspects them, through the
// ANSI calls (paths in code page 932).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

bool writeFile(const std::string& path, const std::string& contents);
std::optional<std::string> readFile(const std::string& path);
bool copyFile(const std::string& from, const std::string& to);
// Whether both files hold the same bytes, read block by block so that big
// files need no room in memory; nothing if either cannot be read.
std::optional<bool> sameContents(const std::string& a, const std::string& b);
// Makes the folder and every missing folder above it.
bool makeFolders(const std::string& path);
// Removes a folder with everything in it, read-only files too. True if it is gone.
bool removeTree(const std::string& path);
// The folder part of a path, up to its last backslash or slash.
std::string parentFolder(const std::string& path);

struct FileTimes {
    FILETIME creation{};
    FILETIME lastAccess{};
    FILETIME lastWrite{};
};

// What GetFileTime reports, or nothing if the file cannot be opened.
std::optional<FileTimes> fileTimes(const std::string& path);
// Puts the last-access and last-write times (creation too, where Wine keeps it).
bool setFileTimes(const std::string& path, const FILETIME& lastAccess, const FILETIME& lastWrite);
DWORD fileAttributes(const std::string& path);
bool setReadOnly(const std::string& path);
std::optional<ULONGLONG> fileSize(const std::string& path);
// Whether this system refuses to open a read-only file for writing, tried on
// a scratch file in `folder`. Windows does; Wine run as root does not, since
// it keeps the flag as Unix permissions and root may write regardless.
bool readOnlyRefusesWrites(const std::string& folder);

// A UTC time as a FILETIME, and back as "YYYY-MM-DD hh:mm:ss".
FILETIME fileTimeUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);
std::string formatFileTime(const FILETIME& time);
bool sameTime(const FILETIME& a, const FILETIME& b);

}  // namespace e2e
