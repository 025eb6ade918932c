// Threads of the program on real host threads; ExitThread unwinds to the thread's start.
#include "platform/process.h"
#include "platform/sim/sim_state.h"

using namespace sim::detail;
using sim::Op;

namespace {

void runThread(ThreadRec* rec, platform::ThreadProc proc, void* argument) {
    std::uint32_t code = sim::runAsThread(proc, argument);
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    rec->done = true;
    rec->exitCode = code;
    s.threadsChanged.notify_all();
}

ThreadRec* openThread(State& s, platform::Thread thread) {
    ThreadRec* rec = lookup(s.threads, thread);
    return rec && !rec->closed ? rec : nullptr;
}

}  // namespace

namespace platform {

Thread createThread(ThreadProc proc, void* argument, std::uint32_t* threadId) {
    Gate g(Op::createThread);
    if (g.failed() || !proc) return nullptr;
    auto rec = std::make_unique<ThreadRec>();
    ThreadRec* r = rec.get();
    r->id = g.s.nextThreadId++;
    std::uintptr_t h = newHandle();
    g.s.threads[h] = std::move(rec);
    if (threadId) *threadId = r->id;
    // The new thread needs the lock before it touches its record, so it waits for us.
    r->thread = std::thread(runThread, r, proc, argument);
    return toHandle<Thread>(h);
}

bool waitForThread(Thread thread) {
    Gate g(Op::waitForThread);
    ThreadRec* rec = openThread(g.s, thread);
    if (g.failed() || !rec) return false;
    g.s.threadsChanged.wait(g.lock, [rec] { return rec->done; });
    return true;
}

bool closeThread(Thread thread) {
    Gate g(Op::closeThread);
    ThreadRec* rec = openThread(g.s, thread);
    if (!rec) return false;
    rec->closed = true;  // the thread runs on; only the handle is gone
    return !g.failed();
}

void exitThread(std::uint32_t code) {
    {
        Gate g(Op::exitThread, {}, {code});
    }
    throw sim::ThreadExit{code};
}

}  // namespace platform

namespace sim {

std::uint32_t runAsThread(platform::ThreadProc proc, void* argument) {
    try {
        return static_cast<std::uint32_t>(proc(argument));
    } catch (const ThreadExit& exit) {
        return exit.code;
    }
}

void joinThreads() {
    State& s = state();
    for (;;) {
        std::thread next;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            for (auto& entry : s.threads) {
                std::thread& t = entry.second->thread;
                if (t.joinable() && t.get_id() != std::this_thread::get_id()) {
                    next = std::move(t);
                    break;
                }
            }
        }
        if (!next.joinable()) return;
        next.join();
    }
}

int runningThreads() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    int n = 0;
    for (auto& entry : s.threads) n += entry.second->done ? 0 : 1;
    return n;
}

}  // namespace sim
