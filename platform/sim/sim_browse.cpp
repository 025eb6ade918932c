// SHBrowseForFolderA answered by the test, the item lists and the shell's allocator.
#include <cstring>

#include "platform/constants.h"
#include "platform/shell.h"
#include "platform/sim/sim_windows.h"

using namespace sim::detail;
using sim::Op;

namespace {

constexpr std::size_t maxPath = 260;

std::string lastName(const std::string& path) {
    std::vector<std::string> parts = splitPath(path, true);
    return parts.empty() ? path : parts.back();
}

}  // namespace

namespace platform {

ItemList* browseForFolder(const BrowseRequest& request) {
    Gate g(Op::browseForFolder, {str(request.title)}, {request.flags});
    if (g.failed()) return nullptr;
    State& s = g.s;
    auto rec = std::make_unique<WindowRec>();
    rec->kind = WindowKind::browser;
    rec->className = "#32770";
    rec->text = str(request.title);
    rec->parent = request.owner;
    rec->visible = true;
    Window browser = addWindow(s, std::move(rec));
    s.browses.push_back(sim::Browsed{browser, request.owner, str(request.title), request.flags, ""});

    std::optional<std::string> answer = s.browseAnswer;
    bool hasPath = s.browseAnswerHasPath;
    std::optional<std::string> typed;
    if ((request.flags & bifEditBox) && !s.invalidTyped.empty()) {
        typed = s.invalidTyped.front();
        s.invalidTyped.pop_front();
    }
    std::uintptr_t item = 0;
    if (answer) {
        item = newHandle();
        s.items[item] = std::make_unique<ItemRec>(ItemRec{hasPath ? *answer : "", hasPath});
    }
    BrowseCallback callback = request.callback;
    g.lock.unlock();

    bool cancelled = !answer;
    if (callback) {
        callback(browser, bffmInitialized, 0, request.data);
        if (item) callback(browser, bffmSelChanged, static_cast<LParam>(item), request.data);
        if (typed && callback(browser, bffmValidateFailedA,
                              reinterpret_cast<LParam>(typed->c_str()), request.data) == 0)
            cancelled = true;
    }

    g.lock.lock();
    if (WindowRec* b = windowOf(s, browser)) b->destroyed = true;
    if (cancelled) {
        if (item) s.items.erase(item);
        return nullptr;
    }
    if (request.displayName) copyText(hasPath ? lastName(*answer) : *answer, request.displayName, maxPath);
    return toHandle<ItemList*>(item);
}

Status getShellAllocator(Allocator** allocator) {
    Gate g(Op::getShellAllocator);
    if (!allocator) return eInvalidArg;
    *allocator = nullptr;
    if (g.failed()) return eFail;
    std::uintptr_t h = newHandle();
    g.s.allocators.insert(h);
    *allocator = toHandle<Allocator*>(h);
    return sOk;
}

bool getPathFromItemList(const ItemList* item, char* path) {
    Gate g(Op::getPathFromItemList);
    if (!path) return false;
    ItemRec* rec = lookup(g.s.items, item);
    if (g.failed() || !rec || !rec->hasPath || rec->path.size() + 1 > maxPath) {
        path[0] = '\0';
        return false;
    }
    std::memcpy(path, rec->path.c_str(), rec->path.size() + 1);
    return true;
}

void allocatorFree(Allocator* allocator, ItemList* item) {
    Gate g(Op::allocatorFree);
    if (g.s.allocators.count(fromHandle(allocator))) g.s.items.erase(fromHandle(item));
}

void allocatorRelease(Allocator* allocator) {
    Gate g(Op::allocatorRelease);
    g.s.allocators.erase(fromHandle(allocator));
}

}  // namespace platform

namespace sim {

void answerBrowse(std::optional<std::string> chosenPath) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.browseAnswer = std::move(chosenPath);
    s.browseAnswerHasPath = true;
}

void answerBrowseWithoutPath(std::string displayName) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.browseAnswer = std::move(displayName);
    s.browseAnswerHasPath = false;
}

void typeInvalidFolder(std::string typed) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.invalidTyped.push_back(std::move(typed));
}

std::vector<Browsed> browses() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.browses;
}

}  // namespace sim
