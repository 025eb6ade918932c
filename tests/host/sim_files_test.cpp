// The simulated file system: path mapping, sharing, read-only files, copies, times.
#include <gtest/gtest.h>

#include <dirent.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/constants.h"
#include "platform/files.h"
#include "platform/sim/sim.h"

using namespace platform;

namespace {

class SimFiles : public ::testing::Test {
protected:
    void SetUp() override { sim::reset(); }
};

std::vector<std::string> hostEntries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        closedir(d);
    }
    return names;
}

std::string readAll(Stream s) {
    std::string out;
    char buffer[100];
    for (std::size_t n; (n = readStream(s, buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    return out;
}

TEST_F(SimFiles, DoubleByteNamesWithA5CTrailByteStayOneFolder) {
    // ソ and 表 end in 0x5C, the backslash byte.
    ASSERT_EQ(std::string("ソ"), "\x83\x5C");
    ASSERT_EQ(std::string("表"), "\x95\x5C");
    sim::setDrive('d', driveFixed, std::string("DATA"));
    const std::string folder = "d:\\ソフト\\表示";
    ASSERT_TRUE(createDirectory("d:\\ソフト"));
    ASSERT_TRUE(createDirectory(folder.c_str()));
    Stream out = openStream((folder + "\\a.txt").c_str(), StreamMode::writeExclusive);
    ASSERT_NE(out, nullptr);
    writeStream(out, "abc", 3);
    closeStream(out);

    EXPECT_EQ(sim::hostPath(folder + "\\a.txt"),
              sim::hostRoot() + "/d/" + "ソフト" + "/" + "表示" + "/a.txt");
    EXPECT_EQ(hostEntries(sim::hostRoot() + "/d"), std::vector<std::string>{"ソフト"});
    EXPECT_EQ(hostEntries(sim::hostRoot() + "/d/ソフト"), std::vector<std::string>{"表示"});
    EXPECT_EQ(sim::readFile("D:/ソフト/表示/a.txt"), "abc") << "'/' separates too";
}

TEST_F(SimFiles, ExistingNamesMatchWithoutRegardToAsciiCase) {
    sim::setDrive('d', driveFixed, std::string("DATA"));
    sim::writeFile("d:\\Program Files\\Quillane\\Velmora\\Velmora.exe", "game");
    Stream in = openStream("D:\\PROGRAM FILES\\quillane\\VELMORA\\velmora.EXE",
                           StreamMode::readDenyWrite);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(readAll(in), "game");
    closeStream(in);

    Stream out = openStream("d:\\program files\\QUILLANE\\velmora\\readme.txt",
                            StreamMode::writeExclusive);
    ASSERT_NE(out, nullptr);
    closeStream(out);
    EXPECT_EQ(hostEntries(sim::hostRoot() + "/d"), std::vector<std::string>{"Program Files"});
    EXPECT_TRUE(sim::fileExists("d:\\Program Files\\Quillane\\Velmora\\readme.txt"));
    EXPECT_EQ(sim::hostPath("D:\\A\\..\\Program Files\\.\\Quillane"),
              sim::hostRoot() + "/d/Program Files/Quillane");
}

// Another open of the file exists; does a new one get through?
TEST_F(SimFiles, SharingRefusesConflictingOpens) {
    struct Case {
        const char* what;
        std::uint32_t heldAccess, heldShare;
        std::function<bool()> open;  // true when the new open succeeded
        bool allowed;
    };
    const char* path = "c:\\Game\\data.pac";
    auto stream = [path](StreamMode mode) {
        return [path, mode] {
            Stream s = openStream(path, mode);
            if (s) closeStream(s);
            return s != nullptr;
        };
    };
    auto handle = [path](std::uint32_t access, std::uint32_t share) {
        return [=] {
            File f = createFile(path, access, share, openExisting, fileAttributeNormal);
            if (f) closeFile(f);
            return f != nullptr;
        };
    };
    const std::uint32_t r = genericRead, w = genericWrite;
    const std::uint32_t sr = fileShareRead, sw = fileShareWrite;
    const Case cases[] = {
        {"reader sharing reads: rb", r, sr, stream(StreamMode::readDenyWrite), true},
        {"reader sharing reads: wb", r, sr, stream(StreamMode::writeExclusive), false},
        {"reader sharing reads: read-write handle", r, sr, handle(r | w, sr | sw), false},
        {"reader sharing reads: probe", r, sr, stream(StreamMode::probeRead), true},
        {"exclusive reader: rb", r, fileShareNone, stream(StreamMode::readDenyWrite), false},
        {"exclusive reader: probe", r, fileShareNone, stream(StreamMode::probeRead), false},
        {"sharing writer: rb refuses the writer", w, sr | sw, stream(StreamMode::readDenyWrite), false},
        {"sharing writer: probe", w, sr | sw, stream(StreamMode::probeRead), true},
        {"sharing writer: handle without write sharing", w, sr | sw, handle(r, sr), false},
        {"reader sharing all: exclusive size probe", r, sr | sw, handle(r, fileShareNone), false},
    };
    for (const Case& c : cases) {
        sim::reset();
        sim::writeFile(path, "data");
        int token = sim::holdOpen(path, c.heldAccess, c.heldShare);
        EXPECT_EQ(c.open(), c.allowed) << c.what;
        sim::release(token);
        EXPECT_TRUE(c.open()) << c.what << ", once released";
    }
}

TEST_F(SimFiles, AnOpenSourceStreamRefusesItselfAsTarget) {
    sim::writeFile("c:\\x\\same.dat", "keep me");
    Stream source = openStream("c:\\x\\same.dat", StreamMode::readDenyWrite);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(openStream("c:\\X\\SAME.DAT", StreamMode::writeExclusive), nullptr);
    EXPECT_FALSE(deleteFile("c:\\x\\same.dat")) << "an open file cannot be deleted";
    closeStream(source);
    EXPECT_EQ(sim::readFile("c:\\x\\same.dat"), "keep me");
}

TEST_F(SimFiles, ReadOnlyFilesRefuseWritingDeletionAndOverwriting) {
    const char* path = "c:\\Game\\Velmora.exe";
    sim::writeFile("c:\\Setup\\Velmora\\Velmora.exe", "new");
    struct Case {
        const char* what;
        std::function<bool()> attempt;
    };
    const Case cases[] = {
        {"wb stream", [&] {
             Stream s = openStream(path, StreamMode::writeExclusive);
             if (s) closeStream(s);
             return s != nullptr;
         }},
        {"read-write handle", [&] {
             File f = createFile(path, genericRead | genericWrite, fileShareRead, openExisting,
                                 fileAttributeNormal);
             if (f) closeFile(f);
             return f != nullptr;
         }},
        {"delete", [&] { return deleteFile(path); }},
        {"copy over", [&] { return copyFile("c:\\Setup\\Velmora\\Velmora.exe", path, false); }},
    };
    for (const Case& c : cases) {
        sim::writeFile(path, "old");
        sim::setAttributes(path, fileAttributeReadonly);
        EXPECT_FALSE(c.attempt()) << c.what;
        EXPECT_EQ(sim::readFile(path), "old") << c.what;
        ASSERT_TRUE(setFileAttributes(path, fileAttributeNormal));
        EXPECT_EQ(getFileAttributes(path), fileAttributeNormal);
        EXPECT_TRUE(c.attempt()) << c.what << " once the attributes are normal";
    }
    File reader = createFile("c:\\Setup\\Velmora\\Velmora.exe", genericRead, fileShareRead,
                             openExisting, fileAttributeNormal);
    EXPECT_NE(reader, nullptr) << "read-only files still open for reading";
    closeFile(reader);
}

TEST_F(SimFiles, CreateFileDispositionsAndSizes) {
    EXPECT_EQ(createFile("c:\\none.bin", genericRead, fileShareRead, openExisting, 0), nullptr);
    EXPECT_EQ(getFileAttributes("c:\\none.bin"), 0xFFFFFFFFu);
    EXPECT_EQ(createFile("c:\\missing\\x.bin", genericWrite, 0, 2, 0), nullptr)
        << "no folder, no file";

    sim::writeFileOfSize("c:\\big.bin", 200000);
    File f = createFile("c:\\big.bin", genericRead, fileShareNone, openExisting, fileAttributeNormal);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(getFileSize(f), 200000u);
    closeFile(f);

    sim::fakeSize("c:\\big.bin", (5ull << 30) + 7);
    f = createFile("c:\\big.bin", genericRead, fileShareNone, openExisting, fileAttributeNormal);
    EXPECT_EQ(getFileSize(f), (5ull << 30) + 7);
    closeFile(f);
    EXPECT_EQ(sim::fileSize("c:\\big.bin"), 200000u) << "the contents stay";
}

TEST_F(SimFiles, TimesFollowTheFileClock) {
    const FileTime t1{100, 1}, t2{200, 1}, t3{300, 1};
    sim::setFileClock(t1);
    Stream out = openStream("c:\\t.txt", StreamMode::writeExclusive);
    ASSERT_NE(out, nullptr);
    sim::setFileClock(t2);
    writeStream(out, "x", 1);
    closeStream(out);
    sim::Times times = sim::fileTimes("c:\\t.txt");
    EXPECT_EQ(times.creation, t1);
    EXPECT_EQ(times.lastWrite, t2);

    sim::setFileClock(t3);
    Stream in = openStream("c:\\t.txt", StreamMode::readDenyWrite);
    readAll(in);
    closeStream(in);
    times = sim::fileTimes("c:\\t.txt");
    EXPECT_EQ(times.lastAccess, t3);
    EXPECT_EQ(times.lastWrite, t2);
    EXPECT_EQ(times.creation, t1);
}

TEST_F(SimFiles, SetFileTimeTakesTheTimesGetFileTimeGave) {
    sim::writeFile("c:\\src.txt", "s");
    sim::writeFile("c:\\dst.txt", "d");
    sim::setFileTimes("c:\\src.txt", {{1, 2}, {3, 4}, {5, 6}});
    File src = createFile("c:\\src.txt", genericRead, fileShareRead, openExisting, fileAttributeNormal);
    File dst = createFile("c:\\dst.txt", genericRead | genericWrite, fileShareRead | fileShareWrite,
                          openExisting, fileAttributeNormal);
    FileTime c, a, w;
    ASSERT_TRUE(getFileTime(src, &c, &a, &w));
    EXPECT_FALSE(setFileTime(src, &c, &a, &w)) << "a handle without write access";
    ASSERT_TRUE(setFileTime(dst, &c, &a, &w));
    closeFile(src);
    closeFile(dst);
    sim::Times times = sim::fileTimes("c:\\dst.txt");
    EXPECT_EQ(times.creation, (FileTime{1, 2}));
    EXPECT_EQ(times.lastAccess, (FileTime{3, 4}));
    EXPECT_EQ(times.lastWrite, (FileTime{5, 6}));
}

TEST_F(SimFiles, CopyCarriesContentsAttributesAndLastWriteTime) {
    sim::writeFile("c:\\a\\src.dat", "contents");
    sim::setAttributes("c:\\a\\src.dat", fileAttributeReadonly);
    sim::setFileTimes("c:\\a\\src.dat", {{1, 1}, {2, 2}, {3, 3}});
    sim::setFileClock({9, 9});
    ASSERT_TRUE(copyFile("c:\\a\\src.dat", "c:\\a\\dst.dat", true));
    EXPECT_EQ(sim::readFile("c:\\a\\dst.dat"), "contents");
    EXPECT_EQ(sim::attributes("c:\\a\\dst.dat"), fileAttributeReadonly);
    EXPECT_EQ(sim::fileTimes("c:\\a\\dst.dat").lastWrite, (FileTime{3, 3}));
    EXPECT_EQ(sim::fileTimes("c:\\a\\dst.dat").creation, (FileTime{9, 9}));

    sim::writeFile("c:\\a\\other.dat", "other");
    EXPECT_FALSE(copyFile("c:\\a\\src.dat", "c:\\a\\other.dat", true)) << "fail if exists";
    EXPECT_TRUE(copyFile("c:\\a\\src.dat", "c:\\a\\other.dat", false));
    EXPECT_EQ(sim::readFile("c:\\a\\other.dat"), "contents");
    EXPECT_FALSE(copyFile("c:\\a\\missing.dat", "c:\\a\\x.dat", false));
}

TEST_F(SimFiles, FoldersLikeTheCRuntimeAndKernel32) {
    EXPECT_EQ(makeDirectory("c:\\Program Files\\Quillane"), -1) << "missing parent";
    EXPECT_EQ(makeDirectory("c:\\Program Files\\"), 0) << "a trailing backslash is fine";
    EXPECT_EQ(makeDirectory("c:\\Program Files"), -1) << "exists";
    EXPECT_EQ(makeDirectory("c:\\"), -1);
    EXPECT_TRUE(createDirectory("c:\\Program Files\\Quillane"));
    EXPECT_FALSE(createDirectory("c:\\PROGRAM FILES\\quillane"));

    EXPECT_EQ(changeDirectory("c:\\Program Files\\Nothing"), -1);
    EXPECT_EQ(changeDirectory("c:\\"), 0);
    EXPECT_EQ(sim::currentDirectory(), "c:\\");
    EXPECT_EQ(changeDirectory("c:\\Program Files\\Quillane\\"), 0);
    EXPECT_EQ(sim::currentDirectory(), "c:\\Program Files\\Quillane");

    sim::writeFile("c:\\Start\\Quillane\\Velmora\\README.lnk", "");
    EXPECT_FALSE(removeDirectory("c:\\Start\\Quillane")) << "not empty";
    ASSERT_TRUE(deleteFile("c:\\Start\\Quillane\\Velmora\\README.lnk"));
    EXPECT_TRUE(removeDirectory("c:\\Start\\Quillane\\Velmora"));
    EXPECT_TRUE(removeDirectory("c:\\Start\\Quillane"));
    EXPECT_FALSE(removeDirectory("c:\\Start\\Quillane"));
    EXPECT_FALSE(removeDirectory("c:\\Program Files\\Quillane")) << "the current directory";
}

TEST_F(SimFiles, RelativeAndRootedPathsUseTheCurrentDirectory) {
    sim::makeDirs("c:\\Work");
    ASSERT_EQ(changeDirectory("c:\\Work"), 0);
    ASSERT_TRUE(createDirectory("sub"));
    EXPECT_TRUE(sim::dirExists("c:\\Work\\sub"));
    ASSERT_TRUE(createDirectory("\\Quillane"));
    EXPECT_TRUE(sim::dirExists("c:\\Quillane"));
}

TEST_F(SimFiles, FindFirstFileIsAnExistenceProbe) {
    sim::writeFile("c:\\Game\\movie\\ED.mpg", "m");
    struct Case {
        const char* pattern;
        bool found;
    };
    const Case cases[] = {
        {"c:\\Game\\movie\\ED.mpg", true}, {"c:\\game\\MOVIE\\ed.MPG", true},
        {"c:\\Game\\movie", true},         {"c:\\Game\\movie\\OP.mpg", false},
        {"c:\\Game\\*.mpg", false},        {"c:\\Game\\movie\\*.mpg", true},
        {"c:\\Game\\movie\\E?.*", true},   {"c:\\Game\\movie\\?.mpg", false},
        {"q:\\Game\\movie\\ED.mpg", false},
    };
    for (const Case& c : cases) {
        FindHandle f = findFirstFile(c.pattern);
        EXPECT_EQ(f != nullptr, c.found) << c.pattern;
        if (f) {
            EXPECT_TRUE(findClose(f));
        }
    }
}

TEST_F(SimFiles, WriteAndReadLimits) {
    sim::limitWrites(10);
    Stream a = openStream("c:\\a.bin", StreamMode::writeExclusive);
    Stream b = openStream("c:\\b.bin", StreamMode::writeExclusive);
    EXPECT_EQ(writeStream(a, "123456", 6), 6u);
    EXPECT_EQ(writeStream(b, "123456", 6), 4u) << "the budget is shared by all streams";
    EXPECT_EQ(writeStream(b, "1", 1), 0u);
    closeStream(a);
    closeStream(b);
    EXPECT_EQ(sim::fileSize("c:\\b.bin"), 4u);

    sim::writeFileOfSize("c:\\c.bin", 1000);
    sim::limitReads("c:\\c.bin", 150);
    Stream c = openStream("c:\\c.bin", StreamMode::readDenyWrite);
    char buffer[100];
    EXPECT_EQ(readStream(c, buffer, 100), 100u);
    EXPECT_EQ(readStream(c, buffer, 100), 50u);
    EXPECT_EQ(readStream(c, buffer, 100), 0u);
    closeStream(c);
}

TEST_F(SimFiles, ResetRemovesThePreviousHostFolder) {
    sim::writeFile("c:\\x.txt", "x");
    const std::string before = sim::hostRoot();
    sim::reset();
    EXPECT_NE(sim::hostRoot(), before);
    EXPECT_EQ(opendir(before.c_str()), nullptr);
    EXPECT_FALSE(sim::fileExists("c:\\x.txt"));
}

}  // namespace
