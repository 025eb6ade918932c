// What the copy and the update rely on from the real file system: the sharing of the
// copy's streams, "wb" replacing a file, and file times carried from one file to another.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/constants.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace {

using platform::StreamMode;

// A fresh scratch folder per test, in the system's temporary folder.
class BackendFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("velmora_backend_" + std::string(info->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    void write(const std::string& file, const std::string& contents) {
        platform::Stream s = platform::openStream(file.c_str(), StreamMode::writeExclusive);
        ASSERT_NE(s, nullptr) << file;
        EXPECT_EQ(platform::writeStream(s, contents.data(), contents.size()), contents.size());
        platform::closeStream(s);
    }
    std::filesystem::path dir_;
};

struct FileTimes {
    platform::FileTime creation, lastAccess, lastWrite;
};

platform::File openForTimes(const std::string& file) {
    return platform::createFile(file.c_str(), platform::genericRead | platform::genericWrite,
                                platform::fileShareRead | platform::fileShareWrite,
                                platform::openExisting, platform::fileAttributeNormal);
}

FileTimes getTimes(const std::string& file) {
    FileTimes times;
    platform::File f = openForTimes(file);
    EXPECT_NE(f, nullptr) << file;
    EXPECT_TRUE(platform::getFileTime(f, &times.creation, &times.lastAccess, &times.lastWrite));
    EXPECT_TRUE(platform::closeFile(f));
    return times;
}

bool setTimes(const std::string& file, const FileTimes& times) {
    platform::File f = openForTimes(file);
    EXPECT_NE(f, nullptr) << file;
    bool ok = platform::setFileTime(f, &times.creation, &times.lastAccess, &times.lastWrite);
    EXPECT_TRUE(platform::closeFile(f));
    return ok;
}

// Wine keeps its own configuration in the machine's registry; Windows has no such key.
bool runningUnderWine() {
    platform::RegKey key = nullptr;
    if (platform::regOpenKey("Software\\Wine", platform::keyAllAccess, &key) !=
        platform::errorSuccess)
        return false;
    platform::regCloseKey(key);
    return true;
}

// Who tries to open a file that a stream holds: another stream, or a writer that shares
// everything (as the update opens its target), which only the holder's sharing can stop.
struct Opener {
    const char* name;
    bool isStream;
    StreamMode mode;
};
const Opener kProbe{"probeRead", true, StreamMode::probeRead};
const Opener kReadDenyWrite{"readDenyWrite", true, StreamMode::readDenyWrite};
const Opener kWriteExclusive{"writeExclusive", true, StreamMode::writeExclusive};
const Opener kSharingWriter{"sharingWriter", false, StreamMode::probeRead};

bool opensAndCloses(const std::string& file, const Opener& opener) {
    if (!opener.isStream) {
        platform::File f = platform::createFile(
            file.c_str(), platform::genericRead | platform::genericWrite,
            platform::fileShareRead | platform::fileShareWrite, platform::openExisting,
            platform::fileAttributeNormal);
        if (f) platform::closeFile(f);
        return f != nullptr;
    }
    platform::Stream s = platform::openStream(file.c_str(), opener.mode);
    if (s) platform::closeStream(s);
    return s != nullptr;
}

TEST_F(BackendFiles, SecondOpenOfAnOpenStreamFollowsTheSharingOfBoth) {
    struct Case {
        Opener held;  // always a stream
        Opener second;
        bool opens;
    };
    const Case cases[] = {
        // The copy's source refuses writers, so nothing rewrites it mid-copy...
        {kReadDenyWrite, kSharingWriter, false},
        {kReadDenyWrite, kWriteExclusive, false},
        // ...but lets other readers in, such as a probe or a second copy.
        {kReadDenyWrite, kReadDenyWrite, true},
        {kReadDenyWrite, kProbe, true},
        // The copy's target lets nobody in, readers included.
        {kWriteExclusive, kProbe, false},
        {kWriteExclusive, kReadDenyWrite, false},
        {kWriteExclusive, kSharingWriter, false},
        // A probe shares everything; only an exclusive open cannot live with it.
        {kProbe, kSharingWriter, true},
        {kProbe, kReadDenyWrite, true},
        {kProbe, kWriteExclusive, false},
    };
    const std::string file = path("shared.bin");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.held.name) + " then " + c.second.name);
        write(file, "contents");
        platform::Stream held = platform::openStream(file.c_str(), c.held.mode);
        ASSERT_NE(held, nullptr);
        EXPECT_EQ(opensAndCloses(file, c.second), c.opens);
        platform::closeStream(held);
    }
}

TEST_F(BackendFiles, WriteExclusiveCreatesOrTruncatesAndReadsEndShort) {
    const std::string file = path("target.bin");
    write(file, std::string(1000, 'a'));
    write(file, "xyz");  // replaces, not appends

    platform::Stream s = platform::openStream(file.c_str(), StreamMode::readDenyWrite);
    ASSERT_NE(s, nullptr);
    char buffer[16] = {};
    EXPECT_EQ(platform::readStream(s, buffer, sizeof buffer), 3u);
    EXPECT_EQ(std::string(buffer, 3), "xyz");
    EXPECT_EQ(platform::readStream(s, buffer, sizeof buffer), 0u);
    platform::closeStream(s);
}

// Odd 100 ns counts, years apart, so neither a rounding nor a mix-up of kinds goes unseen.
const FileTimes kKnownTimes = {{0x1D2C3B5u, 0x01C00000u}, {0x2A3B4C7u, 0x01C80000u},
                               {0x3B4C5D9u, 0x01D00000u}};

// The update's step: the source's three times as GetFileTime delivers them, set on the
// target each to its own kind.
FileTimes carryTimes(const std::string& source, const std::string& target) {
    EXPECT_TRUE(setTimes(source, kKnownTimes));
    FileTimes carried = getTimes(source);
    EXPECT_TRUE(setTimes(target, carried));
    return getTimes(target);
}

TEST_F(BackendFiles, LastAccessAndLastWriteSurviveBeingCarriedToAnotherFile) {
    write(path("source.bin"), "source");
    write(path("target.bin"), "target");
    const FileTimes got = carryTimes(path("source.bin"), path("target.bin"));
    EXPECT_EQ(got.lastAccess, kKnownTimes.lastAccess);
    EXPECT_EQ(got.lastWrite, kKnownTimes.lastWrite);
}

TEST_F(BackendFiles, CreationSurvivesBeingCarriedToAnotherFile) {
    if (runningUnderWine()) GTEST_SKIP() << "Wine cannot set a birth time on a Linux file system";
    write(path("source.bin"), "source");
    write(path("target.bin"), "target");
    EXPECT_EQ(carryTimes(path("source.bin"), path("target.bin")).creation, kKnownTimes.creation);
}

TEST_F(BackendFiles, MissingFileGivesTheInvalidHandleAsNullptr) {
    const std::string missing = path("missing.bin");
    EXPECT_EQ(platform::createFile(missing.c_str(), platform::genericRead, platform::fileShareNone,
                                   platform::openExisting, platform::fileAttributeNormal),
              nullptr);
    EXPECT_EQ(platform::findFirstFile(missing.c_str()), nullptr);
    EXPECT_EQ(platform::getFileAttributes(missing.c_str()), 0xFFFFFFFFu);
}

}  // namespace
