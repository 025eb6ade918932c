#include "tests/bench/bench_files.h"

#include <windows.h>

#include "tests/wine/e2e/files.h"

namespace bench {

namespace {

constexpr DWORD blockBytes = 65536;
unsigned char block[blockBytes];

}  // namespace

bool makeFile(const std::string& path, std::uint64_t bytes, unsigned seed) {
    if (!e2e::makeFolders(e2e::parentFolder(path))) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (std::uint64_t done = 0, n = 0; ok && done < bytes; done += n) {
        n = bytes - done < blockBytes ? bytes - done : blockBytes;
        // Every block differs, so that no layer below can share or fold them.
        const unsigned mark = seed * 2654435761u + static_cast<unsigned>(done / blockBytes);
        for (DWORD i = 0; i < n; ++i) block[i] = static_cast<unsigned char>(mark >> (i % 4 * 8)) ^ i;
        DWORD written = 0;
        ok = WriteFile(file, block, static_cast<DWORD>(n), &written, nullptr) && written == n;
    }
    // Written back now, so that the disk's writeback of a fresh source does not
    // run into the copies being timed.
    ok = ok && FlushFileBuffers(file);
    return CloseHandle(file) && ok;
}

bool warmFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    while (ReadFile(file, block, blockBytes, &got, nullptr) && got > 0) {
    }
    CloseHandle(file);
    return true;
}

bool removeFile(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::uint64_t sizeOf(const std::string& path) { return e2e::fileSize(path).value_or(0); }

}  // namespace bench
