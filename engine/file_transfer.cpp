#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/files.h"

namespace {

constexpr std::size_t blockSize = 65536;

// The one block buffer of the process: only one copy runs at a time.
unsigned char copyBuffer[blockSize];

// The abort handshake: a pending request (1) is taken up as seen (2).
bool takeAbortRequest(std::atomic<std::int32_t>& cancelState) {
    std::int32_t requested = 1;
    return cancelState.compare_exchange_strong(requested, 2);
}

}  // namespace

std::uint64_t fileSize64OrZero(const char* path) {
    platform::File file = platform::createFile(path, platform::genericRead,
                                               platform::fileShareNone, platform::openExisting,
                                               platform::fileAttributeNormal);
    if (file == nullptr) return 0;
    const std::uint64_t size = platform::getFileSize(file);
    platform::closeFile(file);
    return size;
}

std::uint32_t fileSizeOrZero(const char* path) {
    return static_cast<std::uint32_t>(fileSize64OrZero(path));
}

bool SetupEngine::copyOneFile(const char* targetPath, const char* sourcePath, const char*) {
    sourceStream = platform::openStream(sourcePath, platform::StreamMode::readDenyWrite);
    if (sourceStream == nullptr) return false;
    targetStream = platform::openStream(targetPath, platform::StreamMode::writeExclusive);
    if (targetStream == nullptr) {
        platform::closeStream(sourceStream);
        sourceStream = nullptr;
        return false;
    }
    const std::uint32_t startTotal = bytesCopied.load();

    if (!takeAbortRequest(cancelState)) {
        for (;;) {
            const std::size_t n = platform::readStream(sourceStream, copyBuffer, blockSize);
            bytesCopied.fetch_add(static_cast<std::uint32_t>(n));
            platform::writeStream(targetStream, copyBuffer, n);
            if (n < blockSize) break;
            if (takeAbortRequest(cancelState)) break;
        }
    }
    platform::closeStream(sourceStream);
    platform::closeStream(targetStream);
    sourceStream = targetStream = nullptr;

    if (cancelState.load() != 0) return true;

    // Compared on 64-bit sizes, so files of 4 GiB and more are judged by their
    // true difference, not by what is left after a 32-bit wrap.
    const std::uint64_t s = fileSize64OrZero(sourcePath);
    const std::uint64_t t = fileSize64OrZero(targetPath);
    if ((t > s && t - s > blockSize) || (s > t && s - t > blockSize)) {
        platform::copyFile(sourcePath, targetPath, false);
        bytesCopied.store(startTotal + static_cast<std::uint32_t>(s));
    }
    return true;
}

std::uint32_t SetupEngine::selectedSourceBytes() {
    std::uint32_t total = 0;
    for (int i = firstFile;; ++i) {
        const char* name = fileListEntry(installFiles, i);
        if (name[0] == '\0' || i == endFile) break;
        if (!isSelected(i)) continue;
        char path[text::pathCapacity];
        if (!text::joinPath(path, sizeof path, sourceDir, name)) continue;
        total += fileSizeOrZero(path);
    }
    return total;
}
