#include <atomic>
#include <cctype>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "copy_fixture.h"

namespace {

using BackgroundCopyTest = CopyTest;

std::vector<std::string> namesOf(int n) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back("f" + std::to_string(i) + ".pac");
    return names;
}

TEST_F(BackgroundCopyTest, CopiesExactlyTheSelectedEntriesOfTheRange) {
    // 22 entries: 20 and 21 lie past the selection bytes and belong to every choice.
    const auto names = namesOf(22);
    std::vector<std::pair<std::string, std::size_t>> files;
    for (const auto& n : names) files.push_back({n, 70000});
    useFiles(files);
    engine.selected[3] = 0;
    engine.selected[19] = 0;
    engine.selected[7] = 2;  // only exactly 1 selects
    const std::uint32_t expectedTotal = 19 * 70000;
    ASSERT_EQ(engine.selectedSourceBytes(), expectedTotal) << "the total counts what is copied";

    EXPECT_TRUE(engine.copySelectedFiles());
    for (int i = 0; i < 22; ++i) {
        const bool copied = i != 3 && i != 7 && i != 19;
        EXPECT_EQ(sim::fileExists(target(names[i])), copied) << names[i];
        if (copied) {
            EXPECT_EQ(sim::readFile(target(names[i])), contents(names[i], 70000));
        }
    }
    EXPECT_EQ(engine.bytesCopied.load(), expectedTotal);
    EXPECT_EQ(engine.busy.load(), 0);
    EXPECT_EQ(engine.cancelState.load(), 0);
    EXPECT_NE(engine.copyThreadId, 0u);
    EXPECT_EQ(sim::callsOf(sim::Op::closeThread).size(), 1u) << "the worker's handle is closed";
    EXPECT_EQ(sim::progressPosition(bar()), 1000);
}

TEST_F(BackgroundCopyTest, StopsAtTheStopIndexOrTheListsEnd) {
    struct Case { int first, end; std::vector<bool> copied; } cases[] = {
        {0, 2, {true, true, false, false}},
        {1, 3, {false, true, true, false}},
        {0, endOfList, {true, true, true, true}},
        {2, 2, {false, false, false, false}},
        {4, endOfList, {false, false, false, false}},  // the empty name at firstFile
    };
    const char* names[] = {"a.pac", "b.pac", "c.pac", "d.pac"};
    for (const auto& c : cases) {
        SetUp();
        useFiles({{names[0], 10}, {names[1], 10}, {names[2], 10}, {names[3], 10}});
        engine.setInstallType(2, c.first, c.end);
        EXPECT_TRUE(engine.copySelectedFiles()) << c.first << ".." << c.end;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(sim::fileExists(target(names[i])), c.copied[i])
                << names[i] << " in " << c.first << ".." << c.end;
    }
}

TEST_F(BackgroundCopyTest, PathsThatDoNotFitOrLackTheirFolderArePassedOver) {
    useFiles({{"a.pac", 10}, {"movie/ED.mpg", 10}, {"b.pac", 10}});
    EXPECT_TRUE(engine.copySelectedFiles());
    EXPECT_TRUE(sim::fileExists(target("a.pac")));
    EXPECT_FALSE(sim::dirExists("c:\\Game\\movie")) << "the worker makes no folders";
    EXPECT_TRUE(sim::fileExists(target("b.pac")));

    // A target folder that leaves no room for a name (254 + "\a.pac" is 260 bytes):
    // nothing is cut into another path.
    const std::string longDir = "c:\\" + repeat('d', 251);
    sim::makeDirs(longDir);
    text::copy(engine.installDir, sizeof engine.installDir, longDir.c_str());
    sim::clearCalls();
    EXPECT_TRUE(engine.copySelectedFiles());
    EXPECT_TRUE(sim::callsOf(sim::Op::openStream).empty());
}

TEST_F(BackgroundCopyTest, AWorkerThatCannotStartFailsTheRun) {
    useFiles({{"a.pac", 10}});
    sim::fail(sim::Op::createThread);
    EXPECT_FALSE(engine.copySelectedFiles());
    EXPECT_EQ(engine.busy.load(), 0);
    EXPECT_EQ(engine.copyThreadId, 0u);
    EXPECT_FALSE(sim::fileExists(target("a.pac")));
}

TEST_F(BackgroundCopyTest, RefusesASecondCopyWhileOneRuns) {
    // The block buffer and the streams exist once.
    useFiles({{"a.pac", 10}});
    engine.busy = 1;
    EXPECT_FALSE(engine.copySelectedFiles());
    EXPECT_EQ(engine.busy.load(), 1);
    EXPECT_TRUE(sim::callsOf(sim::Op::createThread).empty());
    EXPECT_FALSE(sim::fileExists(target("a.pac")));
    engine.busy = 0;
}

std::thread::id dispatchedOn;
std::atomic<bool> dispatched{false};
platform::Result PLATFORM_CALLBACK recordingProc(platform::Window, unsigned message,
                                                 platform::WParam, platform::LParam) {
    if (message == platform::wmUser + 7) {
        dispatchedOn = std::this_thread::get_id();
        dispatched = true;
    }
    return 1;
}

TEST_F(BackgroundCopyTest, TheWaitLoopDispatchesItsThreadsMessages) {
    useFiles({{"a.pac", 200000}});
    sim::setDialogProc(dialog, recordingProc);
    dispatched = false;
    sim::postMessage({dialog, platform::wmUser + 7, 0, 0});
    // The worker holds its first file until the message is through (bounded, so
    // that a loop that never dispatches fails instead of hanging).
    sim::onCall([](const sim::Call& call) {
        if (call.op != sim::Op::openStream) return;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!dispatched && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
    });
    EXPECT_TRUE(engine.copySelectedFiles());
    sim::onCall(nullptr);
    ASSERT_TRUE(dispatched);
    EXPECT_EQ(dispatchedOn, std::this_thread::get_id());
}

// ---- the abort handshake, requested at chosen points of the worker's run ----

// a: three full blocks and a short one (reads 1-4); b: one full, one short (5-6);
// c: one full, one short (7-8).
constexpr std::size_t sizeA = 3 * 65536 + 3392, sizeB = 70000, sizeC = 70000;

struct AbortCase {
    const char* when;
    sim::Op op;        // the request comes just before this call...
    int nth;           // ...its nth one (readStream: counted over the run)
    std::string path;  // ...or the one with this first text
    int endFile;
    std::vector<long> sizes;  // of a, b, c and d; -1: not created
    int cancelState;
};

void PrintTo(const AbortCase& c, std::ostream* out) { *out << c.when; }

class AbortTest : public CopyTest, public ::testing::WithParamInterface<AbortCase> {};

TEST_P(AbortTest, LeavesTheFilesAndTheStateOfThePointItWasSeen) {
    const AbortCase& c = GetParam();
    useFiles({{"a.pac", sizeA}, {"b.pac", sizeB}, {"c.pac", sizeC}, {"d.pac", 100}});
    engine.setInstallType(2, 0, c.endFile);
    sim::onCall([&](const sim::Call& call) {
        if (call.op != c.op) return;
        const bool hit = c.path.empty() ? sim::callCount(c.op) == c.nth
                                        : !call.texts.empty() && call.texts[0] == c.path;
        if (hit) engine.cancelState = 1;  // as the abort command does
    });
    const bool result = engine.copySelectedFiles();
    sim::onCall(nullptr);

    EXPECT_EQ(result, c.cancelState == 0) << c.when;
    EXPECT_EQ(engine.cancelState.load(), c.cancelState) << c.when;
    const char* names[] = {"a.pac", "b.pac", "c.pac", "d.pac"};
    const std::vector<long>& sizes = c.sizes;
    for (int i = 0; i < 4; ++i) {
        if (sizes[i] < 0) {
            EXPECT_FALSE(sim::fileExists(target(names[i]))) << c.when << ": " << names[i];
            continue;
        }
        const std::string copied = sim::readFile(target(names[i]));
        EXPECT_EQ(copied.size(), static_cast<std::size_t>(sizes[i])) << c.when << ": " << names[i];
        EXPECT_EQ(copied, contents(names[i], sizes[i])) << c.when << ": " << names[i];
    }
}

const long fullA = sizeA, fullB = sizeB, fullC = sizeC;
const std::string sizeTestOfC = "c:\\Game\\c.pac";

INSTANTIATE_TEST_SUITE_P(
    Moments, AbortTest,
    ::testing::Values(
        AbortCase{"no request", sim::Op::count_, 0, "", 3, {fullA, fullB, fullC, -1}, 0},
        AbortCase{"before the first file", sim::Op::createThread, 1, "", 3, {0, -1, -1, -1}, 3},
        AbortCase{"during a's second block", sim::Op::readStream, 2, "", 3,
                  {131072, -1, -1, -1}, 3},
        // Not seen after a short block: b's copy sees it first and leaves b empty.
        AbortCase{"during a's short block", sim::Op::readStream, 4, "", 3,
                  {fullA, 0, -1, -1}, 3},
        // Seen in the last entry of the range: the loop ends by the stop index.
        AbortCase{"during c's first block", sim::Op::readStream, 7, "", 3,
                  {fullA, fullB, 65536, -1}, 2},
        AbortCase{"during c's short block", sim::Op::readStream, 8, "", 3,
                  {fullA, fullB, fullC, -1}, 1},
        AbortCase{"after c's copy", sim::Op::createFile, 0, sizeTestOfC, 3,
                  {fullA, fullB, fullC, -1}, 1},
        // With the whole list, d's copy takes the request up; d ends the list.
        AbortCase{"during c's short block, d to come", sim::Op::readStream, 8, "", endOfList,
                  {fullA, fullB, fullC, 0}, 2}),
    [](const ::testing::TestParamInfo<AbortCase>& info) {
        std::string name;
        for (const char* p = info.param.when; *p; ++p)
            name += (std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_');
        return name;
    });

// ---- progress ----

TEST_F(BackgroundCopyTest, AFullCopyOfTheProductEndsAtExactly1000Steps) {
    // Reported sizes: the size test finds each target short and has it copied whole,
    // so bytesCopied ends at the sum of the sources' sizes.
    useFiles({{"grd.pac", 100}, {"mus.pac", 100}});
    sim::fakeSize(source("grd.pac"), 1000000000);
    sim::fakeSize(source("mus.pac"), 617000000);
    EXPECT_TRUE(engine.copySelectedFiles());
    EXPECT_EQ(engine.bytesPerStep, 1617000u);
    EXPECT_EQ(engine.bytesCopied.load(), 1617000000u);
    EXPECT_EQ(engine.progressShown, 1000u);
    EXPECT_EQ(sim::progressPosition(bar()), 1000);
}

TEST_F(BackgroundCopyTest, SmallTotalsCountPastTheRangeButTheBarStaysFull) {
    struct Case { std::size_t total; std::uint32_t steps; } cases[] = {
        {1500, 1000 + 500 / 1},  // one byte a step
        {2999, 1000 + 999 / 2},
        {999999, 1000 + 999 / 999},
        {1000000, 1000},
    };
    for (const auto& c : cases) {
        SetUp();
        useFiles({{"a.pac", c.total}});
        EXPECT_TRUE(engine.copySelectedFiles());
        EXPECT_EQ(engine.progressShown, c.steps) << c.total;
        // PBM_STEPIT past the range would start the bar over.
        EXPECT_EQ(sim::progressPosition(bar()), 1000) << c.total;
    }
}

TEST_F(BackgroundCopyTest, ATotalBelowOneStepFillsTheBarWhenTheCopyEnds) {
    struct Case { std::vector<std::pair<std::string, std::size_t>> files; bool abort; int bar; } cases[] = {
        {{{"a.pac", 999}}, false, 1000},
        {{{"a.pac", 0}}, false, 1000},
        {{}, false, 1000},               // nothing in the range
        {{{"a.pac", 500}}, true, 0},     // an aborted copy shows nothing done
    };
    for (const auto& c : cases) {
        SetUp();
        useFiles(c.files);
        if (c.abort)
            sim::onCall([&](const sim::Call& call) {
                if (call.op == sim::Op::createThread) engine.cancelState = 1;
            });
        EXPECT_EQ(engine.copySelectedFiles(), !c.abort);
        sim::onCall(nullptr);
        EXPECT_EQ(engine.bytesPerStep, 0u);
        EXPECT_EQ(sim::progressPosition(bar()), c.bar) << c.files.size() << " " << c.abort;
    }
}

TEST_F(BackgroundCopyTest, TheBarNeverStepsBack) {
    engine.resetProgressBar(1000);
    engine.bytesPerStep = 10;
    struct Step { std::uint32_t bytes; std::uint32_t shown; int position; } steps[] = {
        {500, 50, 50},
        {300, 30, 50},   // a count that went down: no step, and none back
        {300, 30, 50},
        {600, 60, 80},   // counted on from the lower count
    };
    for (const auto& s : steps) {
        engine.bytesCopied = s.bytes;
        engine.advanceProgress();
        EXPECT_EQ(engine.progressShown, s.shown) << s.bytes;
        EXPECT_EQ(sim::progressPosition(bar()), s.position) << s.bytes;
    }
}

// Every step is still given to the bar, but steps earned together are drawn
// once: from the install thread a drawing is a round trip to the dialog's
// thread, and a copy that ran ahead must not hold the wait loop for each.
TEST_F(BackgroundCopyTest, StepsEarnedTogetherAreDrawnOnce) {
    engine.resetProgressBar(1000);
    engine.bytesPerStep = 10;
    struct Turn { std::uint32_t bytes; int position; int drawings; } turns[] = {
        {10, 1, 1},      // one step: the bar draws it itself
        {20, 2, 1},
        {5000, 500, 1},  // 498 steps at once, drawn together
        {5000, 500, 0},  // nothing earned, nothing drawn
        {9990, 999, 1},
    };
    for (const auto& t : turns) {
        const int before = sim::paints(bar());
        engine.bytesCopied = t.bytes;
        engine.advanceProgress();
        EXPECT_EQ(sim::progressPosition(bar()), t.position) << t.bytes;
        EXPECT_EQ(sim::paints(bar()) - before, t.drawings) << t.bytes;
    }
    const std::vector<sim::Sent> sent = sim::sentTo(bar());
    int stepIts = 0;
    for (const sim::Sent& s : sent) stepIts += s.message == platform::pbmStepIt;
    EXPECT_EQ(stepIts, 999) << "each step is a STEPIT of its own";
    const sim::Sent last = sent.back();
    EXPECT_EQ(last.message, platform::wmSetRedraw) << "the bar is left drawing";
    EXPECT_EQ(last.wParam, 1u);
}

TEST_F(BackgroundCopyTest, TheBarIsControl1005OfDialogWindowOrElseOfTheSetupDialog) {
    engine.resetProgressBar(1000);
    const auto reset = sim::sentTo(bar());
    ASSERT_EQ(reset.size(), 3u);
    EXPECT_EQ(reset[0].message, platform::pbmSetRange);
    EXPECT_EQ(reset[0].wParam, 0u);
    EXPECT_EQ(reset[0].lParam, 1000 << 16);
    EXPECT_EQ(reset[1].message, platform::pbmSetStep);
    EXPECT_EQ(reset[1].wParam, 1u);
    EXPECT_EQ(reset[2].message, platform::pbmSetPos);
    EXPECT_EQ(reset[2].wParam, 0u);

    const platform::Window other = sim::makeDialog({{1005, "msctls_progress32", ""}}, {});
    engine.dialogWindow = other;
    engine.resetProgressBar(1000);
    engine.stepProgressBar();
    EXPECT_EQ(sim::progressPosition(sim::control(other, 1005)), 1);
    EXPECT_EQ(sim::sentTo(bar()).size(), 3u) << "the setup dialog's bar heard only the first reset";
}

// ---- aborts from another thread at varied moments; run under ThreadSanitizer too ----

TEST_F(BackgroundCopyTest, AbortsFromTheInterfaceThreadAtAnyMomentLeaveAConsistentRun) {
    const char* names[] = {"a.pac", "b.pac", "c.pac"};
    for (int run = 0; run < 60; ++run) {
        SetUp();
        useFiles({{names[0], 150000}, {names[1], 70000}, {names[2], 140000}});
        // After k blocks, or never (k beyond the copy's 7 blocks).
        const std::uint32_t afterBytes = static_cast<std::uint32_t>(run % 9) * 65536;
        std::atomic<bool> over{false};
        std::thread ui([&] {
            while (!engine.isBusy() && !over) std::this_thread::yield();
            while (engine.isBusy() && engine.bytesCopied.load() < afterBytes)
                std::this_thread::yield();
            if (engine.isBusy()) engine.cancelState = 1;  // the abort command's test
        });
        const bool result = engine.copySelectedFiles();
        over = true;
        ui.join();

        const int state = engine.cancelState.load();
        EXPECT_EQ(result, state == 0) << run;
        EXPECT_GE(state, 0);
        EXPECT_LE(state, 3);
        EXPECT_EQ(engine.busy.load(), 0);
        for (const char* name : names) {
            if (!sim::fileExists(target(name))) continue;
            const std::string copied = sim::readFile(target(name));
            const std::string whole = sim::readFile(source(name));
            // Whole, or cut after a block; never more, never other bytes.
            EXPECT_EQ(whole.compare(0, copied.size(), copied), 0) << run << " " << name;
            EXPECT_TRUE(copied.size() == whole.size() || copied.size() % 65536 == 0)
                << run << " " << name << " " << copied.size();
            if (result) {
                EXPECT_EQ(copied.size(), whole.size()) << run << " " << name;
            }
        }
    }
}

}  // namespace
