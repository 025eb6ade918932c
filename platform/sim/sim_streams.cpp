// The buffered C streams of the logic, with Windows sharing per mode.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/constants.h"
#include "platform/files.h"
#include "platform/sim/sim_paths.h"

using namespace sim::detail;
using sim::Op;

namespace {

constexpr std::uint32_t archive = 0x20;

struct ModeRule {
    std::uint32_t access, share;
};
ModeRule ruleOf(platform::StreamMode mode) {
    switch (mode) {
        case platform::StreamMode::probeRead:
            return {platform::genericRead, platform::fileShareRead | platform::fileShareWrite};
        case platform::StreamMode::readDenyWrite:
            return {platform::genericRead, platform::fileShareRead};
        case platform::StreamMode::writeExclusive:
            return {platform::genericWrite, platform::fileShareNone};
    }
    return {0, 0};
}

bool isWriting(platform::StreamMode mode) { return mode == platform::StreamMode::writeExclusive; }

std::size_t readAll(int fd, char* buffer, std::size_t bytes) {
    std::size_t done = 0;
    while (done < bytes) {
        ssize_t n = ::read(fd, buffer + done, bytes - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t writeAll(int fd, const char* buffer, std::size_t bytes) {
    std::size_t done = 0;
    while (done < bytes) {
        ssize_t n = ::write(fd, buffer + done, bytes - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

}  // namespace

namespace platform {

Stream openStream(const char* path, StreamMode mode) {
    Gate g(Op::openStream, {str(path)}, {static_cast<std::uint64_t>(mode)});
    if (g.failed()) return nullptr;
    State& s = g.s;
    std::optional<Resolved> r = resolve(s, path);
    if (!r || r->path.parts.empty() || r->path.trailingSeparator || isHostDir(r->host))
        return nullptr;
    ModeRule rule = ruleOf(mode);
    bool exists = isHostFile(r->host);
    int fd = -1;
    if (isWriting(mode)) {
        if (!isHostDir(hostOfParent(s, r->path)) || !driveWritable(s, r->path.drive)) return nullptr;
        if (exists && (metaOf(s, r->host).attributes & fileAttributeReadonly)) return nullptr;
        if (!shareAllows(s, r->host, rule.access, rule.share)) return nullptr;
        fd = ::open(r->host.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return nullptr;
        if (exists)
            touchWrite(s, r->host);
        else
            setCreated(s, r->host, archive);
    } else {
        if (!exists || !shareAllows(s, r->host, rule.access, rule.share)) return nullptr;
        fd = ::open(r->host.c_str(), O_RDONLY);
        if (fd < 0) return nullptr;
    }
    std::uintptr_t h = newHandle();
    int openId = addOpen(s, r->host, rule.access, rule.share);
    s.streams[h] = std::make_unique<StreamRec>(StreamRec{openId, r->host, fd, mode, 0});
    return toHandle<Stream>(h);
}

std::size_t readStream(Stream stream, void* buffer, std::size_t bytes) {
    Gate g(Op::readStream, {}, {bytes});
    StreamRec* st = lookup(g.s.streams, stream);
    if (g.failed() || !st || isWriting(st->mode) || !buffer) return 0;
    auto limit = g.s.readLimits.find(st->host);
    if (limit != g.s.readLimits.end()) {
        std::uint64_t left = limit->second > st->position ? limit->second - st->position : 0;
        if (bytes > left) bytes = static_cast<std::size_t>(left);
    }
    std::size_t n = readAll(st->fd, static_cast<char*>(buffer), bytes);
    st->position += n;
    touchRead(g.s, st->host);
    return n;
}

std::size_t writeStream(Stream stream, const void* buffer, std::size_t bytes) {
    Gate g(Op::writeStream, {}, {bytes});
    StreamRec* st = lookup(g.s.streams, stream);
    if (g.failed() || !st || !isWriting(st->mode) || !buffer) return 0;
    std::size_t allowed = static_cast<std::size_t>(takeWriteBudget(g.s, bytes));
    std::size_t n = writeAll(st->fd, static_cast<const char*>(buffer), allowed);
    st->position += n;
    if (n) touchWrite(g.s, st->host);
    return n;
}

void closeStream(Stream stream) {
    Gate g(Op::closeStream);
    StreamRec* st = lookup(g.s.streams, stream);
    if (!st) return;
    ::close(st->fd);
    g.s.opens.erase(st->openId);
    g.s.streams.erase(fromHandle(stream));
}

}  // namespace platform
