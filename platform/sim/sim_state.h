// The one state of the simulated machine, behind one mutex, and the gate every
// seam call passes: count, record, fault check.
#pragma once
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_text.h"
#include "platform/windowing.h"

namespace sim::detail {

// ---- registry ----
struct RegNode {
    std::string name;
    std::map<std::string, std::shared_ptr<RegNode>, NoCaseLess> subkeys;
    std::map<std::string, Value, NoCaseLess> values;
    bool deleted = false;  // handles to a deleted key fail from then on
};

// ---- drives and files ----
struct Drive {
    unsigned type;
    std::optional<std::string> label;
    std::uint64_t freeBytes;
};
struct FileMeta {
    std::uint32_t attributes;
    platform::FileTime creation, lastAccess, lastWrite;
};
// One open of a file: a handle, a stream or another process's hold.
struct OpenEntry {
    std::string host;
    std::uint32_t access;
    std::uint32_t share;
};
struct FileHandleRec {
    int openId;
    std::string host;
    std::uint32_t access;
};
struct StreamRec {
    int openId;
    std::string host;
    int fd;
    platform::StreamMode mode;
    std::uint64_t position;
};
struct FindRec {
    std::string host;
};

// ---- threads ----
struct ThreadRec {
    std::thread thread;
    std::uint32_t id = 0;
    bool done = false;
    bool closed = false;
    std::uint32_t exitCode = 0;
};

// ---- windows ----
enum class WindowKind { topLevel, dialog, control, foreign, browser };
struct WindowRec {
    WindowKind kind = WindowKind::topLevel;
    std::string className, text;
    platform::Window parent = nullptr;
    int id = 0;
    bool enabled = true, visible = false, destroyed = false;
    int check = 0;
    platform::Rect rect;
    std::vector<Sent> sent;
    platform::WindowProc proc = nullptr;
    platform::DialogProc dialogProc = nullptr;
    int templateId = -1;
    bool ended = false;
    platform::Result result = 0;
    std::vector<platform::Window> children;
    int rangeLow = 0, rangeHigh = 100, step = 10, position = 0;  // progress bar
    bool redraw = true;  // WM_SETREDRAW
    int paints = 0;      // times the window was drawn anew
};
struct ClassRec {
    platform::WindowClass windowClass;
    std::string name;
};
struct DialogTemplate {
    std::vector<Control> controls;
    platform::Rect rect;
};

// ---- GDI ----
enum class GdiKind { font, stockFont, stockBrush };
struct GdiRec {
    GdiKind kind;
};
struct DcRec {
    DcState state;
    platform::GdiHandle brush = nullptr;
};

// ---- shell ----
struct LinkRec {
    Link fields;
    int refs = 1;  // the link and its IPersistFile share one object
};
struct PersistRec {
    std::uintptr_t link;
};
struct ItemRec {
    std::string path;
    bool hasPath;
};

template <class T>
using HandleMap = std::map<std::uintptr_t, std::unique_ptr<T>>;

struct FaultRule {
    Op op;
    long startAt;   // the op's call number from which it fails
    int remaining;  // -1: for ever
};

struct State {
    std::mutex mutex;
    std::condition_variable threadsChanged;

    // record and faults
    std::array<int, static_cast<std::size_t>(Op::count_)> counts{};
    long globalCount = 0;
    std::vector<Call> calls;
    std::vector<FaultRule> rules;
    std::set<long> globalFails;

    // registry
    std::shared_ptr<RegNode> hklm;
    HandleMap<std::shared_ptr<RegNode>> keys;

    // drives, files
    std::string root;  // host folder
    std::map<char, Drive> drives;
    std::vector<std::string> probed;
    std::map<std::string, FileMeta> meta;  // by host path
    std::map<int, OpenEntry> opens;
    int nextOpenId = 1;
    HandleMap<FileHandleRec> files;
    HandleMap<StreamRec> streams;
    HandleMap<FindRec> finds;
    std::optional<std::uint64_t> writeBudget;
    std::map<std::string, std::uint64_t> readLimits;
    std::map<std::string, std::uint64_t> fakeSizes;
    platform::FileTime fileClock;
    std::string currentDirectory;

    // program, clock, threads
    std::string modulePath;
    std::uint32_t clock = 0;
    std::function<void()> onTime, onIdle;
    std::function<void(const Call&)> onCall;
    std::set<void*> allocations;
    HandleMap<ThreadRec> threads;
    std::uint32_t nextThreadId = 1000;

    // windows
    HandleMap<WindowRec> windows;
    std::vector<platform::Window> topLevelOrder;
    std::vector<ClassRec> classes;
    std::map<int, DialogTemplate> templates;
    std::map<int, std::function<void(platform::Window)>> scripts;
    std::map<int, platform::Window> lastDialogs;
    platform::Rect workArea;
    std::map<std::thread::id, std::deque<platform::Message>> queues;
    std::optional<int> quitCode;
    std::deque<int> boxAnswers;
    std::vector<Box> boxes;

    // GDI
    HandleMap<GdiRec> gdi;
    HandleMap<DcRec> dcs;
    platform::GdiHandle nullBrush = nullptr, whiteBrush = nullptr, systemFont = nullptr;
    int liveFonts = 0;

    // shell
    std::map<int, std::string> specialFolders;
    platform::Status coResult = 0;
    HandleMap<LinkRec> links;
    HandleMap<PersistRec> persists;
    HandleMap<ItemRec> items;
    std::set<std::uintptr_t> allocators;
    std::map<std::string, Link> savedLinks;  // by host path
    std::optional<std::string> browseAnswer;
    bool browseAnswerHasPath = true;
    std::deque<std::string> invalidTyped;
    std::vector<Browsed> browses;
    std::vector<Executed> executed;
};

State& state();

// Handles: numbers that look like pointers, never reused while the process lives, so
// a handle kept from an earlier test finds nothing instead of freed memory.
std::uintptr_t newHandle();
template <class H>
H toHandle(std::uintptr_t value) {
    return reinterpret_cast<H>(value);
}
template <class H>
std::uintptr_t fromHandle(H handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}
template <class T, class H>
T* lookup(HandleMap<T>& map, H handle) {
    auto it = map.find(fromHandle(handle));
    return it == map.end() ? nullptr : it->second.get();
}

// Entered by every seam call, with the state locked for its lifetime (unlock() to call
// out to test code or program procedures).
class Gate {
public:
    Gate(Op op, std::vector<std::string> texts = {}, std::vector<std::uint64_t> numbers = {});
    bool failed() const { return failed_; }
    State& s;
    std::unique_lock<std::mutex> lock;

private:
    bool failed_ = false;
};

inline std::uint64_t num(std::int64_t v) { return static_cast<std::uint64_t>(v); }

// Shared between parts of the sim; callers hold the lock.
WindowRec* windowOf(State& s, platform::Window window);           // null when destroyed
WindowRec* windowAny(State& s, platform::Window window);          // also destroyed ones
platform::Window addWindow(State& s, std::unique_ptr<WindowRec> rec);
void resetFiles(State& s);
void resetWindows(State& s);
void resetShell(State& s);

}  // namespace sim::detail
