// Files, folders and buffered streams.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace platform {

// Buffered C streams with Windows sharing:
//   probeRead      "r",  others may read and write (a plain fopen)
//   readDenyWrite  "rb", others may read, writers are refused
//   writeExclusive "wb", nobody else may open the file; created or truncated
enum class StreamMode { probeRead, readDenyWrite, writeExclusive };
Stream openStream(const char* path, StreamMode mode);
std::size_t readStream(Stream stream, void* buffer, std::size_t bytes);  // 0 at end or error
std::size_t writeStream(Stream stream, const void* buffer, std::size_t bytes);
void closeStream(Stream stream);

// CreateFileA(path, access, share, default security, disposition, attributes, no template);
// nullptr for INVALID_HANDLE_VALUE.
File createFile(const char* path, std::uint32_t access, std::uint32_t share,
                std::uint32_t disposition, std::uint32_t attributes);
// GetFileSize(file, high part): the whole 64-bit size.
std::uint64_t getFileSize(File file);
bool getFileTime(File file, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite);
bool setFileTime(File file, const FileTime* creation, const FileTime* lastAccess,
                 const FileTime* lastWrite);
bool closeFile(File file);

bool setFileAttributes(const char* path, std::uint32_t attributes);
std::uint32_t getFileAttributes(const char* path);  // 0xFFFFFFFF when missing
bool copyFile(const char* existing, const char* target, bool failIfExists);
bool deleteFile(const char* path);

// FindFirstFileA / FindClose, used only as an existence probe.
FindHandle findFirstFile(const char* pattern);
bool findClose(FindHandle find);

// The C runtime's _chdir and _mkdir (0 on success, -1 on failure) and
// CreateDirectoryA / RemoveDirectoryA.
int changeDirectory(const char* path);
int makeDirectory(const char* path);
bool createDirectory(const char* path);
bool removeDirectory(const char* path);

}  // namespace platform
