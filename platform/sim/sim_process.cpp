// The running program's path, the millisecond clock and sleeping.
#include <cstring>

#include "platform/process.h"
#include "platform/sim/sim_state.h"

using namespace sim::detail;
using sim::Op;

namespace {

// Calls a test hook with the state unlocked, so the hook may use the sim itself.
void callHook(Gate& g, const std::function<void()>& hookOfState) {
    std::function<void()> hook = hookOfState;
    g.lock.unlock();
    if (hook) hook();
    g.lock.lock();
}

}  // namespace

namespace platform {

std::uint32_t getModuleFileName(char* buffer, std::uint32_t size) {
    Gate g(Op::getModuleFileName, {}, {size});
    if (g.failed() || !buffer || size == 0) return 0;
    const std::string& path = g.s.modulePath;
    if (path.size() + 1 <= size) {
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return static_cast<std::uint32_t>(path.size());
    }
    // Too small: cut to size - 1 bytes, never inside a double-byte character, and
    // terminate; the result is the buffer's size, as on Windows XP and later.
    std::size_t keep = 0;
    while (keep < size - 1) {
        std::size_t n = isLeadByte(static_cast<unsigned char>(path[keep])) ? 2 : 1;
        if (keep + n > size - 1) break;
        keep += n;
    }
    std::memcpy(buffer, path.data(), keep);
    buffer[keep] = '\0';
    return size;
}

void sleep(std::uint32_t milliseconds) {
    Gate g(Op::sleep, {}, {milliseconds});
    g.s.clock += milliseconds;  // time passes while the thread sleeps
    callHook(g, g.s.onIdle);
}

std::uint32_t timeGetTime() {
    Gate g(Op::timeGetTime);
    callHook(g, g.s.onTime);
    return g.s.clock;
}

}  // namespace platform

namespace sim {

void setModulePath(const std::string& path) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.modulePath = path;
}

void setClock(std::uint32_t milliseconds) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.clock = milliseconds;
}

void advanceClock(std::uint32_t milliseconds) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.clock += milliseconds;
}

void onTimeGetTime(std::function<void()> hook) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.onTime = std::move(hook);
}

void onIdle(std::function<void()> hook) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.onIdle = std::move(hook);
}

}  // namespace sim
