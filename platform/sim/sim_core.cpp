// The state's life, the call record and fault injection.
#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "platform/sim/sim_state.h"

namespace sim {
namespace detail {

namespace {

const char* const opNames[] = {
    "regCreateKey", "regOpenKey", "regSetValue", "regQueryValue", "regDeleteKey", "regCloseKey",
    "getDriveType", "getVolumeInformation", "getDiskFreeSpace",
    "openStream", "readStream", "writeStream", "closeStream",
    "createFile", "getFileSize", "getFileTime", "setFileTime", "closeFile",
    "setFileAttributes", "getFileAttributes", "copyFile", "deleteFile", "findFirstFile",
    "findClose",
    "changeDirectory", "makeDirectory", "createDirectory", "removeDirectory",
    "getModuleFileName", "createThread", "waitForThread", "closeThread", "exitThread", "sleep",
    "timeGetTime",
    "registerWindowClass", "createWindow", "findWindow", "showWindow", "defWindowProc",
    "dialogBox", "endDialog", "getDlgItem", "enableWindow", "setWindowText", "sendMessage",
    "invalidateWindow",
    "messageBox", "getWorkArea", "getWindowRect", "moveWindow", "peekMessage",
    "translateMessage", "dispatchMessage", "postQuitMessage",
    "createFont", "selectObject", "setTextColor", "setBkColor", "setBkMode", "deleteObject",
    "getNullBrush",
    "getSpecialFolderPath", "coInitialize", "coUninitialize", "createShellLink",
    "shellLinkQueryPersistFile", "shellLinkSetPath", "shellLinkSetWorkingDirectory",
    "shellLinkSetIconLocation", "shellLinkSetHotkey", "shellLinkSetDescription",
    "shellLinkSetShowCmd", "shellLinkRelease", "persistFileSave", "persistFileRelease",
    "multiByteToWide", "browseForFolder", "getShellAllocator", "getPathFromItemList",
    "allocatorFree", "allocatorRelease", "getLongPathName", "shellExecute",
    "allocateZeroed", "releaseMemory",
};
static_assert(sizeof opNames / sizeof opNames[0] == static_cast<std::size_t>(Op::count_),
              "one name per operation");

void removeHostRootAtExit() {
    State& s = state();
    // Threads still running at exit are left to the process's end; a joinable
    // std::thread must not be destroyed, so let go of them.
    for (auto& entry : s.threads)
        if (entry.second->thread.joinable()) entry.second->thread.detach();
    std::error_code ignored;
    if (!s.root.empty()) std::filesystem::remove_all(s.root, ignored);
}

void resetRecord(State& s) {
    s.counts.fill(0);
    s.globalCount = 0;
    s.calls.clear();
    s.rules.clear();
    s.globalFails.clear();
}

}  // namespace

State& state() {
    // Never destroyed: threads left running at exit may still reach it.
    static State* s = [] {
        auto* created = new State;
        std::atexit(removeHostRootAtExit);
        resetFiles(*created);
        resetWindows(*created);
        resetShell(*created);
        created->hklm = std::make_shared<RegNode>();
        created->modulePath = "c:\\Setup\\Update.exe";
        return created;
    }();
    return *s;
}

std::uintptr_t newHandle() {
    static std::atomic<std::uintptr_t> next{0x10000};
    return next.fetch_add(0x10);
}

Gate::Gate(Op op, std::vector<std::string> texts, std::vector<std::uint64_t> numbers)
    : s(state()), lock(s.mutex) {
    int n = ++s.counts[static_cast<std::size_t>(op)];
    long global = ++s.globalCount;
    s.calls.push_back(Call{op, std::move(texts), std::move(numbers)});
    // A test hook sees the call first; what it does may decide the call's fault.
    static thread_local bool inHook = false;
    if (s.onCall && !inHook) {
        std::function<void(const Call&)> hook = s.onCall;
        Call call = s.calls.back();
        lock.unlock();
        inHook = true;
        hook(call);
        inHook = false;
        lock.lock();
    }
    if (s.globalFails.erase(global)) failed_ = true;
    for (FaultRule& rule : s.rules) {
        if (rule.op != op || n < rule.startAt || rule.remaining == 0) continue;
        if (rule.remaining > 0) --rule.remaining;
        failed_ = true;
    }
}

}  // namespace detail

using namespace detail;

const char* opName(Op op) {
    auto i = static_cast<std::size_t>(op);
    return i < static_cast<std::size_t>(Op::count_) ? opNames[i] : "?";
}

void reset() {
    joinThreads();
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    resetRecord(s);
    s.hklm = std::make_shared<RegNode>();
    s.keys.clear();
    resetFiles(s);
    s.modulePath = "c:\\Setup\\Update.exe";
    s.clock = 0;
    s.onTime = nullptr;
    s.onIdle = nullptr;
    s.onCall = nullptr;
    s.allocations.clear();  // forgotten, not freed: the program may still hold them
    s.threads.clear();
    resetWindows(s);
    resetShell(s);
}

void fail(Op op, int fromCall, int count) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    long start = s.counts[static_cast<std::size_t>(op)] + (fromCall < 1 ? 1 : fromCall);
    s.rules.push_back(FaultRule{op, start, count});
}

void failGlobalCall(long k) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.globalFails.insert(k);
}

long globalCallCount() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.globalCount;
}

int callCount(Op op) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.counts[static_cast<std::size_t>(op)];
}

void clearFaults() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.rules.clear();
    s.globalFails.clear();
}

void onCall(std::function<void(const Call&)> hook) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.onCall = std::move(hook);
}

const std::vector<Call>& calls() { return state().calls; }

std::vector<Call> callsOf(Op op) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<Call> out;
    for (const Call& c : s.calls)
        if (c.op == op) out.push_back(c);
    return out;
}

void clearCalls() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.calls.clear();
}

}  // namespace sim
