// Files, folders and buffered streams.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <direct.h>
#include <share.h>
#include <stdio.h>

#include "platform/files.h"

namespace platform {

namespace {

// The seam's nullptr is the SDK's INVALID_HANDLE_VALUE, both ways.
HANDLE toHandle(File file) { return file ? reinterpret_cast<HANDLE>(file) : INVALID_HANDLE_VALUE; }
File toFile(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<File>(handle);
}
FILE* toFileStream(Stream stream) { return reinterpret_cast<FILE*>(stream); }

FILETIME toFiletime(const FileTime& time) { return FILETIME{time.low, time.high}; }
FileTime fromFiletime(const FILETIME& time) {
    FileTime out;
    out.low = time.dwLowDateTime;
    out.high = time.dwHighDateTime;
    return out;
}

}  // namespace

Stream openStream(const char* path, StreamMode mode) {
    FILE* stream = nullptr;
    switch (mode) {
        case StreamMode::probeRead: stream = _fsopen(path, "r", _SH_DENYNO); break;
        case StreamMode::readDenyWrite: stream = _fsopen(path, "rb", _SH_DENYWR); break;
        case StreamMode::writeExclusive: stream = _fsopen(path, "wb", _SH_DENYRW); break;
    }
    return reinterpret_cast<Stream>(stream);
}

std::size_t readStream(Stream stream, void* buffer, std::size_t bytes) {
    return fread(buffer, 1, bytes, toFileStream(stream));
}

std::size_t writeStream(Stream stream, const void* buffer, std::size_t bytes) {
    return fwrite(buffer, 1, bytes, toFileStream(stream));
}

void closeStream(Stream stream) { fclose(toFileStream(stream)); }

File createFile(const char* path, std::uint32_t access, std::uint32_t share,
                std::uint32_t disposition, std::uint32_t attributes) {
    return toFile(CreateFileA(path, access, share, nullptr, disposition, attributes, nullptr));
}

std::uint64_t getFileSize(File file) {
    DWORD high = 0;
    DWORD low = GetFileSize(toHandle(file), &high);
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

bool getFileTime(File file, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) {
    FILETIME c{}, a{}, w{};
    if (!GetFileTime(toHandle(file), creation ? &c : nullptr, lastAccess ? &a : nullptr,
                     lastWrite ? &w : nullptr))
        return false;
    if (creation) *creation = fromFiletime(c);
    if (lastAccess) *lastAccess = fromFiletime(a);
    if (lastWrite) *lastWrite = fromFiletime(w);
    return true;
}

bool setFileTime(File file, const FileTime* creation, const FileTime* lastAccess,
                 const FileTime* lastWrite) {
    // A null pointer leaves that time as it is, as SetFileTime does.
    FILETIME c = creation ? toFiletime(*creation) : FILETIME{};
    FILETIME a = lastAccess ? toFiletime(*lastAccess) : FILETIME{};
    FILETIME w = lastWrite ? toFiletime(*lastWrite) : FILETIME{};
    return SetFileTime(toHandle(file), creation ? &c : nullptr, lastAccess ? &a : nullptr,
                       lastWrite ? &w : nullptr) != FALSE;
}

bool closeFile(File file) { return CloseHandle(toHandle(file)) != FALSE; }

bool setFileAttributes(const char* path, std::uint32_t attributes) {
    return SetFileAttributesA(path, attributes) != FALSE;
}

std::uint32_t getFileAttributes(const char* path) { return GetFileAttributesA(path); }

bool copyFile(const char* existing, const char* target, bool failIfExists) {
    return CopyFileA(existing, target, failIfExists) != FALSE;
}

bool deleteFile(const char* path) { return DeleteFileA(path) != FALSE; }

FindHandle findFirstFile(const char* pattern) {
    WIN32_FIND_DATAA found;  // only the handle matters to the caller
    HANDLE handle = FindFirstFileA(pattern, &found);
    return handle == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<FindHandle>(handle);
}

bool findClose(FindHandle find) {
    return FindClose(find ? reinterpret_cast<HANDLE>(find) : INVALID_HANDLE_VALUE) != FALSE;
}

int changeDirectory(const char* path) { return _chdir(path); }
int makeDirectory(const char* path) { return _mkdir(path); }
bool createDirectory(const char* path) { return CreateDirectoryA(path, nullptr) != FALSE; }
bool removeDirectory(const char* path) { return RemoveDirectoryA(path) != FALSE; }

}  // namespace platform
