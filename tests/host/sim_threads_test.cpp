// Threads, ExitThread, the clock and its hooks, and seam calls from several threads.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "platform/constants.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/sim/sim.h"
#include "platform/windowing.h"

using namespace platform;

namespace {

class SimThreads : public ::testing::Test {
protected:
    void SetUp() override { sim::reset(); }
};

std::atomic<int> afterExit{0};

unsigned long PLATFORM_CALLBACK exitsEarly(void* argument) {
    static_cast<std::atomic<int>*>(argument)->store(1);
    exitThread(9);
    afterExit = 1;  // never reached
    return 0;
}

unsigned long PLATFORM_CALLBACK returnsFour(void*) { return 4; }

TEST_F(SimThreads, ExitThreadEndsTheThreadWhereItIsCalled) {
    afterExit = 0;
    std::atomic<int> started{0};
    std::uint32_t id = 0;
    Thread t = createThread(exitsEarly, &started, &id);
    ASSERT_NE(t, nullptr);
    EXPECT_NE(id, 0u);
    ASSERT_TRUE(waitForThread(t));
    EXPECT_EQ(started.load(), 1);
    EXPECT_EQ(afterExit.load(), 0);
    EXPECT_TRUE(closeThread(t));
    EXPECT_FALSE(waitForThread(t)) << "a closed handle";
    EXPECT_EQ(sim::callsOf(sim::Op::exitThread).at(0).numbers, std::vector<std::uint64_t>{9});
}

TEST_F(SimThreads, RunAsThreadRunsAProcedureOnTheCallingThread) {
    std::atomic<int> started{0};
    EXPECT_EQ(sim::runAsThread(exitsEarly, &started), 9u);
    EXPECT_EQ(sim::runAsThread(returnsFour, nullptr), 4u);
    EXPECT_THROW(exitThread(3), sim::ThreadExit) << "outside a thread made by createThread";
}

std::atomic<bool> release{false};
unsigned long PLATFORM_CALLBACK waitsForRelease(void*) {
    while (!release) platform::sleep(0);
    return 0;
}

TEST_F(SimThreads, JoinThreadsAndResetLeaveNoThreadRunning) {
    release = false;
    createThread(waitsForRelease, nullptr, nullptr);
    createThread(waitsForRelease, nullptr, nullptr);
    EXPECT_EQ(sim::runningThreads(), 2);
    release = true;
    sim::joinThreads();
    EXPECT_EQ(sim::runningThreads(), 0);

    release = false;
    createThread(waitsForRelease, nullptr, nullptr);
    sim::onIdle([] { release = true; });
    sim::reset();
    EXPECT_EQ(sim::runningThreads(), 0);
}

TEST_F(SimThreads, TheClockWrapsAndHooksRunFirstWithoutTheLock) {
    sim::setClock(0xFFFFFF00u);
    sim::advanceClock(0x200);
    EXPECT_EQ(timeGetTime(), 0x100u);
    sim::setClock(100);

    sim::onTimeGetTime([] {
        sim::advanceClock(1000);  // the hook may use the sim itself
        sim::writeFile("c:\\tick.txt", "t");
    });
    EXPECT_EQ(timeGetTime(), 1100u);
    EXPECT_EQ(timeGetTime(), 2100u);
    EXPECT_TRUE(sim::fileExists("c:\\tick.txt"));

    int idle = 0;
    sim::onIdle([&] { ++idle; });
    platform::sleep(0);
    platform::sleep(250);
    EXPECT_EQ(idle, 2);
    sim::onTimeGetTime(nullptr);
    EXPECT_EQ(timeGetTime(), 2350u) << "time passes while a thread sleeps";
}

unsigned long PLATFORM_CALLBACK copiesFiles(void* argument) {
    Window label = static_cast<Window>(argument);
    for (int i = 0; i < 50; ++i) {
        std::string path = "c:\\work\\f" + std::to_string(i) + ".txt";
        Stream s = openStream(path.c_str(), StreamMode::writeExclusive);
        writeStream(s, "x", 1);
        closeStream(s);
        setWindowText(label, path.c_str());
        timeGetTime();
    }
    return 0;
}

TEST_F(SimThreads, SeamCallsFromSeveralThreadsAtOnce) {
    sim::makeDirs("c:\\work");
    Window dialog = sim::makeDialog({{1019, "static", ""}, {1005, "msctls_progress32", ""}}, Rect{});
    Window label = sim::control(dialog, 1019);
    createThread(copiesFiles, label, nullptr);
    createThread(copiesFiles, label, nullptr);
    Window bar = sim::control(dialog, 1005);
    for (int i = 0; i < 50; ++i) {
        sendMessage(bar, pbmStepIt, 0, 0);
        Message m;
        peekMessage(&m);
    }
    sim::joinThreads();
    EXPECT_TRUE(sim::fileExists("c:\\work\\f49.txt"));
    EXPECT_EQ(sim::windowText(label).rfind("c:\\work\\f", 0), 0u);
}

}  // namespace
