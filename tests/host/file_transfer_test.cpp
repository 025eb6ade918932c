#include <cstdio>
#include <string>

#include "engine_fixture.h"
#include "platform/files.h"

namespace {

std::string pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 7 + i / 65536) & 0xFF);
    return s;
}

const char* source = "c:\\Src\\Velmora\\grd.pac";
const char* target = "c:\\Game\\grd.pac";

class FileTransferTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        sim::makeDirs("c:\\Game");
    }
    int readCalls() { return sim::callCount(sim::Op::readStream); }
};

TEST_F(FileTransferTest, CopiesAtTheBlockBoundaries) {
    struct Case { std::size_t size; int reads; } cases[] = {
        {0, 1}, {65535, 1}, {65536, 2}, {65537, 2}, {131072, 3}, {1000000, 16},
    };
    for (const auto& c : cases) {
        sim::reset();
        sim::makeDirs("c:\\Game");
        engine.bytesCopied = 5;
        const std::string contents = pattern(c.size);
        sim::writeFile(source, contents);
        sim::writeFile(target, "old contents that are longer than nothing");
        EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
        EXPECT_EQ(sim::readFile(target), contents) << c.size;
        EXPECT_EQ(engine.bytesCopied.load(), 5 + c.size) << c.size;
        EXPECT_EQ(readCalls(), c.reads) << c.size;
        EXPECT_EQ(sim::callCount(sim::Op::copyFile), 0) << "no second copy of " << c.size;
        EXPECT_EQ(engine.sourceStream, nullptr);
        EXPECT_EQ(engine.targetStream, nullptr);
    }
}

TEST_F(FileTransferTest, AbortRequestedBeforeTheCallLeavesAnEmptyTarget) {
    sim::writeFile(source, pattern(200000));
    sim::writeFile(target, "old");
    engine.bytesCopied = 77;
    engine.cancelState = 1;
    EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
    EXPECT_TRUE(sim::fileExists(target));
    EXPECT_EQ(sim::fileSize(target), 0u);
    EXPECT_EQ(engine.cancelState.load(), 2);
    EXPECT_EQ(engine.bytesCopied.load(), 77u);
    EXPECT_EQ(readCalls(), 0);
    EXPECT_EQ(sim::callCount(sim::Op::createFile), 0) << "no size test after an abort";
}

TEST_F(FileTransferTest, AbortSeenAfterTheBlockInHand) {
    const std::string contents = pattern(1000000);
    sim::writeFile(source, contents);
    // The request arrives while the second block is read.
    sim::onCall([&](const sim::Call& call) {
        if (call.op == sim::Op::readStream && sim::callCount(sim::Op::readStream) == 2)
            engine.cancelState = 1;
    });
    EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
    sim::onCall(nullptr);
    EXPECT_EQ(sim::fileSize(target), 131072u);
    EXPECT_EQ(sim::readFile(target), contents.substr(0, 131072));
    EXPECT_EQ(engine.bytesCopied.load(), 131072u);
    EXPECT_EQ(engine.cancelState.load(), 2);
    EXPECT_EQ(sim::callCount(sim::Op::copyFile), 0);
}

TEST_F(FileTransferTest, RequestDuringTheLastShortBlockStaysPending) {
    sim::writeFile(source, pattern(70000));
    sim::onCall([&](const sim::Call& call) {
        if (call.op == sim::Op::readStream && sim::callCount(sim::Op::readStream) == 2)
            engine.cancelState = 1;
    });
    EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
    sim::onCall(nullptr);
    EXPECT_EQ(sim::fileSize(target), 70000u);
    EXPECT_EQ(engine.cancelState.load(), 1);
}

TEST_F(FileTransferTest, StatesTwoAndThreeCopyWholeWithoutSizeTest) {
    for (int state : {2, 3}) {
        sim::reset();
        sim::makeDirs("c:\\Game");
        sim::writeFile(source, pattern(100000));
        sim::limitWrites(10);  // a short target that a size test would mend
        engine.cancelState = state;
        EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
        EXPECT_EQ(sim::callCount(sim::Op::copyFile), 0) << state;
        EXPECT_EQ(engine.cancelState.load(), state);
    }
}

TEST_F(FileTransferTest, FallbackOnlyBeyondOneBlockOfDifference) {
    struct Case { std::uint64_t shortBy; bool fallback; } cases[] = {
        {65536, false}, {65537, true}, {200000, true},
    };
    for (const auto& c : cases) {
        sim::reset();
        sim::makeDirs("c:\\Game");
        const std::string contents = pattern(200000);
        sim::writeFile(source, contents);
        sim::limitWrites(200000 - c.shortBy);  // the disk fills up
        engine.bytesCopied = 1000;
        EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
        EXPECT_EQ(sim::callCount(sim::Op::copyFile), c.fallback ? 1 : 0) << c.shortBy;
        // Whether or not the fallback could write, the count is start + source size.
        EXPECT_EQ(engine.bytesCopied.load(), 1000u + 200000u) << c.shortBy;
    }
}

TEST_F(FileTransferTest, FallbackRepairsAReadThatEndedEarly) {
    const std::string contents = pattern(300000);
    sim::writeFile(source, contents);
    sim::limitReads(source, 100000);
    engine.bytesCopied = 0;
    EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
    EXPECT_EQ(sim::callCount(sim::Op::copyFile), 1);
    EXPECT_EQ(sim::readFile(target), contents);
    EXPECT_EQ(engine.bytesCopied.load(), 300000u);
}

TEST_F(FileTransferTest, SizeTestSeesAShortCopyOfAFileOverFourGiB) {
    // The low 32 bits of 4 GiB + 100 equal the 100 bytes copied: only the whole
    // size shows that the copy fell short.
    sim::writeFile(source, pattern(100));
    sim::fakeSize(source, (std::uint64_t{1} << 32) + 100);
    EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
    EXPECT_EQ(sim::callCount(sim::Op::copyFile), 1);
}

TEST_F(FileTransferTest, CountWrapsAtTwoToThe32) {
    sim::writeFile(source, pattern(70000));
    engine.bytesCopied = 0xFFFFFFF0u;
    EXPECT_TRUE(engine.copyOneFile(target, source, "grd.pac"));
    EXPECT_EQ(engine.bytesCopied.load(), static_cast<std::uint32_t>(0xFFFFFFF0u + 70000u));
}

TEST_F(FileTransferTest, StreamsThatCannotOpenLeaveBothFilesAlone) {
    // Missing source.
    sim::writeFile(target, "kept");
    EXPECT_FALSE(engine.copyOneFile(target, "c:\\Src\\Velmora\\none.pac", "none.pac"));
    EXPECT_EQ(sim::readFile(target), "kept");

    // Read-only target: the source is closed again (a writer may open it afterwards).
    sim::writeFile(source, "new");
    sim::setAttributes(target, platform::fileAttributeReadonly);
    EXPECT_FALSE(engine.copyOneFile(target, source, "grd.pac"));
    EXPECT_EQ(sim::readFile(target), "kept");
    EXPECT_EQ(engine.sourceStream, nullptr);
    platform::Stream writer = platform::openStream(source, platform::StreamMode::writeExclusive);
    EXPECT_NE(writer, nullptr);
    if (writer) platform::closeStream(writer);

    // A target that names the source: the open source refuses the writer.
    sim::writeFile(source, "whole");
    EXPECT_FALSE(engine.copyOneFile(source, source, "grd.pac"));
    EXPECT_EQ(sim::readFile(source), "whole");

    // A target in a missing folder.
    EXPECT_FALSE(engine.copyOneFile("c:\\Nowhere\\grd.pac", source, "grd.pac"));
}

TEST_F(FileTransferTest, FileSizeOrZero) {
    sim::writeFile(source, pattern(1234));
    EXPECT_EQ(fileSizeOrZero(source), 1234u);
    EXPECT_EQ(fileSizeOrZero("c:\\missing"), 0u);
    sim::fakeSize(source, (std::uint64_t{1} << 32) + 7);
    EXPECT_EQ(fileSizeOrZero(source), 7u);  // the low 32 bits
    sim::fakeSize(source, 1234);
    const int token = sim::holdOpen(source, platform::genericRead, platform::fileShareRead);
    EXPECT_EQ(fileSizeOrZero(source), 0u);  // opened without sharing
    sim::release(token);
}

class SelectedSourceBytesTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        configureAsEntry();  // sourceDir c:\Setup\Velmora
        for (int i = 0; i < installListLength; ++i) {
            // Entry i has its own size, so a sum shows which entries counted.
            sim::writeFileOfSize(std::string("c:\\Setup\\Velmora\\") +
                                     fileListEntry(engine.installFiles, i),
                                 size(i));
        }
    }
    static std::uint32_t size(int i) { return 1000u * static_cast<std::uint32_t>(i + 1); }
    static std::uint32_t sum(int from, int to) {
        std::uint32_t total = 0;
        for (int i = from; i < to; ++i) total += size(i);
        return total;
    }
};

TEST_F(SelectedSourceBytesTest, CountsTheRangeTheSelectionAndTheWholeList) {
    EXPECT_EQ(engine.selectedSourceBytes(), sum(0, 29)) << "every entry, 20 to 28 included";
    engine.setInstallType(1, 0, 11);
    EXPECT_EQ(engine.selectedSourceBytes(), sum(0, 11));
    engine.setInstallType(2, 0, 9999);
    engine.selected[1] = 0;
    engine.selected[5] = 2;  // only exactly 1 selects
    EXPECT_EQ(engine.selectedSourceBytes(), sum(0, 29) - size(1) - size(5));
    engine.setInstallType(0, 3, 3);
    EXPECT_EQ(engine.selectedSourceBytes(), 0u);
    engine.setInstallType(0, 29, 9999);  // the empty name at firstFile
    EXPECT_EQ(engine.selectedSourceBytes(), 0u);
}

TEST_F(SelectedSourceBytesTest, MissingSourcesAddNothing) {
    std::remove(sim::hostPath("c:\\Setup\\Velmora\\grd.pac").c_str());
    std::remove(sim::hostPath("c:\\Setup\\Velmora\\movie\\ED.mpg").c_str());
    EXPECT_EQ(engine.selectedSourceBytes(), sum(0, 29) - size(1) - size(28));
    text::copy(engine.sourceDir, sizeof engine.sourceDir, "c:\\Elsewhere");
    EXPECT_EQ(engine.selectedSourceBytes(), 0u);
}

TEST_F(SelectedSourceBytesTest, PathsThatDoNotFitAreNotMeasured) {
    // A source folder of 250 bytes fits "grd.pac" (258) but not "vorbisfile.dll".
    const std::string folder = "c:\\" + repeat('f', 247);
    sim::writeFileOfSize(folder + "\\grd.pac", 500);
    sim::writeFileOfSize(folder + "\\vorbisfile.dll", 700);
    text::copy(engine.sourceDir, sizeof engine.sourceDir, folder.c_str());
    engine.setInstallType(1, 0, 11);
    EXPECT_EQ(engine.selectedSourceBytes(), 500u);
}

}  // namespace
