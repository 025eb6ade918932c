// CreateFileA and the file-level calls: sizes, times, attributes, copy, delete, find.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "platform/constants.h"
#include "platform/files.h"
#include "platform/sim/sim_paths.h"

namespace fs = std::filesystem;
using namespace sim::detail;
using sim::Op;

namespace {

constexpr std::uint32_t createNew = 1, createAlways = 2, openAlways = 4, truncateExisting = 5;
constexpr std::uint32_t archive = 0x20;
constexpr std::uint32_t invalidAttributes = 0xFFFFFFFFu;

bool writes(std::uint32_t access) { return access & (platform::genericWrite | 0x10000000u); }
bool reads(std::uint32_t access) { return access & (platform::genericRead | 0x10000000u); }
bool readOnly(State& s, const std::string& host) {
    return metaOf(s, host).attributes & platform::fileAttributeReadonly;
}
std::uint64_t timeValue(const platform::FileTime* t) {
    return t ? (static_cast<std::uint64_t>(t->high) << 32 | t->low) : 0;
}
// SetFileTime leaves a time alone when it is not given or is zero.
void applyTime(platform::FileTime& to, const platform::FileTime* from) {
    if (from && (from->low || from->high)) to = *from;
}

// A file path the Windows calls accept: on a drive, naming something below its root.
std::optional<Resolved> filePath(State& s, const char* path) {
    std::optional<Resolved> r = resolve(s, path);
    if (!r || r->path.parts.empty() || r->path.trailingSeparator) return std::nullopt;
    return r;
}

bool makeHostDirectory(State& s, const char* path) {
    std::optional<Resolved> r = resolve(s, path);
    if (!r || r->path.parts.empty() || hostExists(r->host)) return false;
    if (!isHostDir(hostOfParent(s, r->path)) || !driveWritable(s, r->path.drive)) return false;
    std::error_code error;  // a name the host cannot take fails, as on a full disk
    if (!fs::create_directory(r->host, error)) return false;
    setCreated(s, r->host, platform::fileAttributeDirectory);
    return true;
}

}  // namespace

namespace platform {

File createFile(const char* path, std::uint32_t access, std::uint32_t share,
                std::uint32_t disposition, std::uint32_t attributes) {
    Gate g(Op::createFile, {str(path)}, {access, share, disposition, attributes});
    if (g.failed()) return nullptr;
    State& s = g.s;
    std::optional<Resolved> r = filePath(s, path);
    if (!r || isHostDir(r->host) || !isHostDir(hostOfParent(s, r->path))) return nullptr;
    bool exists = isHostFile(r->host);
    bool create = false, truncate = false;
    switch (disposition) {
        case createNew: if (exists) return nullptr; create = true; break;
        case createAlways: create = !exists; truncate = exists; break;
        case openExisting: if (!exists) return nullptr; break;
        case openAlways: create = !exists; break;
        case truncateExisting:
            if (!exists || !writes(access)) return nullptr;
            truncate = true;
            break;
        default: return nullptr;
    }
    if ((writes(access) || create || truncate) && !driveWritable(s, r->path.drive)) return nullptr;
    if (exists && (writes(access) || truncate) && readOnly(s, r->host)) return nullptr;
    if (!shareAllows(s, r->host, access, share)) return nullptr;
    if (create || truncate) {
        int fd = ::open(r->host.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return nullptr;
        ::close(fd);
    }
    if (create) setCreated(s, r->host, (attributes & ~fileAttributeNormal) | archive);
    if (truncate) {
        touchWrite(s, r->host);
        if (disposition == createAlways)
            metaOf(s, r->host).attributes =
                normalizedAttributes((attributes & ~fileAttributeNormal) | archive, false);
    }
    std::uintptr_t h = newHandle();
    int openId = addOpen(s, r->host, access, share);
    s.files[h] = std::make_unique<FileHandleRec>(FileHandleRec{openId, r->host, access});
    return toHandle<File>(h);
}

std::uint64_t getFileSize(File file) {
    Gate g(Op::getFileSize);
    FileHandleRec* f = lookup(g.s.files, file);
    if (g.failed() || !f) return 0xFFFFFFFFu;
    auto fake = g.s.fakeSizes.find(f->host);
    return fake != g.s.fakeSizes.end() ? fake->second : hostSize(f->host);
}

bool getFileTime(File file, FileTime* creation, FileTime* lastAccess, FileTime* lastWrite) {
    Gate g(Op::getFileTime);
    FileHandleRec* f = lookup(g.s.files, file);
    if (g.failed() || !f || !reads(f->access)) return false;
    const FileMeta& m = metaOf(g.s, f->host);
    if (creation) *creation = m.creation;
    if (lastAccess) *lastAccess = m.lastAccess;
    if (lastWrite) *lastWrite = m.lastWrite;
    return true;
}

bool setFileTime(File file, const FileTime* creation, const FileTime* lastAccess,
                 const FileTime* lastWrite) {
    Gate g(Op::setFileTime, {}, {timeValue(creation), timeValue(lastAccess), timeValue(lastWrite)});
    FileHandleRec* f = lookup(g.s.files, file);
    if (g.failed() || !f || !writes(f->access)) return false;
    FileMeta& m = metaOf(g.s, f->host);
    applyTime(m.creation, creation);
    applyTime(m.lastAccess, lastAccess);
    applyTime(m.lastWrite, lastWrite);
    return true;
}

bool closeFile(File file) {
    Gate g(Op::closeFile);
    FileHandleRec* f = lookup(g.s.files, file);
    if (!f) return false;
    g.s.opens.erase(f->openId);
    g.s.files.erase(fromHandle(file));
    return !g.failed();  // a failed close still lets the handle go
}

bool setFileAttributes(const char* path, std::uint32_t attributes) {
    Gate g(Op::setFileAttributes, {str(path)}, {attributes});
    if (g.failed()) return false;
    std::optional<Resolved> r = resolve(g.s, path);
    if (!r || r->path.parts.empty() || !hostExists(r->host)) return false;
    if (r->path.trailingSeparator && !isHostDir(r->host)) return false;
    if (!driveWritable(g.s, r->path.drive)) return false;
    metaOf(g.s, r->host).attributes = normalizedAttributes(attributes, isHostDir(r->host));
    return true;
}

std::uint32_t getFileAttributes(const char* path) {
    Gate g(Op::getFileAttributes, {str(path)});
    if (g.failed()) return invalidAttributes;
    std::optional<Resolved> r = resolve(g.s, path);
    if (!r || !hostExists(r->host)) return invalidAttributes;
    if (r->path.parts.empty()) return fileAttributeDirectory;
    if (r->path.trailingSeparator && !isHostDir(r->host)) return invalidAttributes;
    return metaOf(g.s, r->host).attributes;
}

bool copyFile(const char* existing, const char* target, bool failIfExists) {
    Gate g(Op::copyFile, {str(existing), str(target)}, {failIfExists ? 1u : 0u});
    if (g.failed()) return false;
    State& s = g.s;
    std::optional<Resolved> from = filePath(s, existing), to = filePath(s, target);
    if (!from || !to || !isHostFile(from->host) || from->host == to->host) return false;
    if (isHostDir(to->host) || !isHostDir(hostOfParent(s, to->path))) return false;
    if (!driveWritable(s, to->path.drive)) return false;
    if (!shareAllows(s, from->host, genericRead, fileShareRead)) return false;
    bool exists = isHostFile(to->host);
    if (exists && (failIfExists || readOnly(s, to->host))) return false;
    if (!shareAllows(s, to->host, genericWrite, fileShareNone)) return false;
    std::uint64_t size = hostSize(from->host);
    if (s.writeBudget && *s.writeBudget < size) return false;  // disk full
    std::error_code ec;
    fs::copy_file(from->host, to->host, fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
    takeWriteBudget(s, size);
    touchRead(s, from->host);
    FileMeta source = metaOf(s, from->host);
    if (!exists) setCreated(s, to->host, archive);
    FileMeta& m = metaOf(s, to->host);
    m.attributes = source.attributes;
    m.lastWrite = source.lastWrite;
    m.lastAccess = s.fileClock;
    return true;
}

bool deleteFile(const char* path) {
    Gate g(Op::deleteFile, {str(path)});
    if (g.failed()) return false;
    State& s = g.s;
    std::optional<Resolved> r = filePath(s, path);
    if (!r || !isHostFile(r->host) || !driveWritable(s, r->path.drive)) return false;
    if (readOnly(s, r->host) || openAnywhere(s, r->host)) return false;
    if (::unlink(r->host.c_str()) != 0) return false;
    forgetMeta(s, r->host);
    s.savedLinks.erase(r->host);
    return true;
}

FindHandle findFirstFile(const char* pattern) {
    Gate g(Op::findFirstFile, {str(pattern)});
    if (g.failed()) return nullptr;
    State& s = g.s;
    std::optional<Resolved> r = resolve(s, pattern, true);
    if (!r || r->path.parts.empty() || r->path.trailingSeparator) return nullptr;
    std::string found;
    const std::string& last = r->path.parts.back();
    if (hasWildcard(last)) {
        std::error_code ec;
        for (fs::directory_iterator it(hostOfParent(s, r->path), ec), end; !ec && it != end;
             it.increment(ec)) {
            if (wildcardMatch(last, it->path().filename().string())) {
                found = it->path().string();
                break;
            }
        }
    } else if (hostExists(r->host)) {
        found = r->host;
    }
    if (found.empty()) return nullptr;
    std::uintptr_t h = newHandle();
    s.finds[h] = std::make_unique<FindRec>(FindRec{found});
    return toHandle<FindHandle>(h);
}

bool findClose(FindHandle find) {
    Gate g(Op::findClose);
    bool known = g.s.finds.erase(fromHandle(find)) > 0;
    return known && !g.failed();
}

int changeDirectory(const char* path) {
    Gate g(Op::changeDirectory, {str(path)});
    if (g.failed()) return -1;
    std::optional<Resolved> r = resolve(g.s, path);
    if (!r || !isHostDir(r->host)) return -1;
    g.s.currentDirectory = windowsText(r->path);
    return 0;
}

int makeDirectory(const char* path) {
    Gate g(Op::makeDirectory, {str(path)});
    if (g.failed()) return -1;
    return makeHostDirectory(g.s, path) ? 0 : -1;
}

bool createDirectory(const char* path) {
    Gate g(Op::createDirectory, {str(path)});
    if (g.failed()) return false;
    return makeHostDirectory(g.s, path);
}

bool removeDirectory(const char* path) {
    Gate g(Op::removeDirectory, {str(path)});
    if (g.failed()) return false;
    State& s = g.s;
    std::optional<Resolved> r = resolve(s, path);
    if (!r || r->path.parts.empty() || !isHostDir(r->host)) return false;
    if (!driveWritable(s, r->path.drive) || readOnly(s, r->host)) return false;
    // The process's current directory is held open, so Windows refuses to remove it.
    std::optional<WinPath> cur = parsePath(s, s.currentDirectory);
    if (cur && hostOf(s, *cur) == r->host) return false;
    std::error_code ec;
    if (!fs::is_empty(r->host, ec) || ec) return false;
    if (::rmdir(r->host.c_str()) != 0) return false;
    forgetMeta(s, r->host);
    return true;
}

}  // namespace platform
