// Window objects: classes, top-level windows, texts, enabling, rectangles.
#include <cstring>

#include "platform/constants.h"
#include "platform/sim/sim_windows.h"

using namespace sim::detail;
using sim::Op;

namespace sim::detail {

WindowRec* windowAny(State& s, platform::Window window) { return lookup(s.windows, window); }

WindowRec* windowOf(State& s, platform::Window window) {
    WindowRec* rec = windowAny(s, window);
    return rec && !rec->destroyed ? rec : nullptr;
}

platform::Window addWindow(State& s, std::unique_ptr<WindowRec> rec) {
    std::uintptr_t h = newHandle();
    bool topLevel = rec->kind != WindowKind::control;
    s.windows[h] = std::move(rec);
    auto window = toHandle<platform::Window>(h);
    if (topLevel) s.topLevelOrder.push_back(window);
    return window;
}

WindowProcedure procedureOf(const WindowRec& rec) {
    WindowProcedure p;
    p.dialog = rec.dialogProc;
    p.window = rec.proc;
    return p;
}

platform::Result WindowProcedure::call(platform::Window w, unsigned message, platform::WParam wParam,
                                       platform::LParam lParam) const {
    if (dialog) return dialog(w, message, wParam, lParam);
    if (window) return window(w, message, wParam, lParam);
    return 0;
}

void destroyUnlocked(platform::Window window) {
    State& s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    WindowRec* rec = windowOf(s, window);
    if (!rec) return;
    WindowProcedure proc = procedureOf(*rec);
    lock.unlock();
    proc.call(window, platform::wmDestroy, 0, 0);  // the window is still valid here
    lock.lock();
    rec = windowOf(s, window);
    if (!rec) return;
    rec->destroyed = true;
    for (platform::Window child : rec->children)
        if (WindowRec* c = windowAny(s, child)) c->destroyed = true;
}

std::size_t copyText(const std::string& text, char* out, std::size_t capacity) {
    if (!out || capacity == 0) return 0;
    std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n;
}

void resetWindows(State& s) {
    s.windows.clear();
    s.topLevelOrder.clear();
    s.classes.clear();
    s.templates.clear();
    s.scripts.clear();
    s.lastDialogs.clear();
    s.workArea = platform::Rect{0, 0, 1024, 768};
    s.queues.clear();
    s.quitCode.reset();
    s.boxAnswers.clear();
    s.boxes.clear();
    s.gdi.clear();
    s.dcs.clear();
    auto stock = [&s](GdiKind kind) {
        std::uintptr_t h = newHandle();
        s.gdi[h] = std::make_unique<GdiRec>(GdiRec{kind});
        return toHandle<platform::GdiHandle>(h);
    };
    s.nullBrush = stock(GdiKind::stockBrush);
    s.whiteBrush = stock(GdiKind::stockBrush);  // a device context's brush at first
    s.systemFont = stock(GdiKind::stockFont);
    s.liveFonts = 0;
}

}  // namespace sim::detail

namespace platform {

bool registerWindowClass(const WindowClass& windowClass) {
    Gate g(Op::registerWindowClass, {str(windowClass.className)},
           {windowClass.style, num(windowClass.iconResource)});
    if (g.failed() || !windowClass.className) return false;
    for (const ClassRec& c : g.s.classes)
        if (sameName(c.name, windowClass.className)) return false;  // already registered
    ClassRec rec{windowClass, windowClass.className};
    rec.windowClass.className = nullptr;  // the caller's text need not outlive the call
    g.s.classes.push_back(rec);
    return true;
}

Window createWindow(std::uint32_t exStyle, const char* className, const char* title,
                    std::uint32_t style, int x, int y, int width, int height, Window parent,
                    Instance) {
    Gate g(Op::createWindow, {str(className), str(title)},
           {exStyle, style, num(x), num(y), num(width), num(height)});
    if (g.failed() || !className) return nullptr;
    const ClassRec* cls = nullptr;
    for (const ClassRec& c : g.s.classes)
        if (sameName(c.name, className)) cls = &c;
    if (!cls) return nullptr;
    if (parent && !windowOf(g.s, parent)) return nullptr;
    auto rec = std::make_unique<WindowRec>();
    rec->kind = parent ? WindowKind::control : WindowKind::topLevel;
    rec->className = cls->name;
    rec->text = str(title);
    rec->parent = parent;
    rec->proc = cls->windowClass.proc;
    auto pos = [](int v) { return v == cwUseDefault ? 0 : v; };
    rec->rect = Rect{pos(x), pos(y), pos(x) + pos(width), pos(y) + pos(height)};
    Window w = addWindow(g.s, std::move(rec));
    if (parent) windowOf(g.s, parent)->children.push_back(w);
    return w;
}

Window findWindow(const char* className, const char* title) {
    Gate g(Op::findWindow, {str(className), str(title)});
    if (g.failed()) return nullptr;
    for (Window w : g.s.topLevelOrder) {
        WindowRec* rec = windowOf(g.s, w);
        if (!rec) continue;
        if (className && !sameName(rec->className, className)) continue;
        if (title && rec->text != title) continue;
        return w;
    }
    return nullptr;
}

bool showWindow(Window window, int showCommand) {
    Gate g(Op::showWindow, {}, {num(showCommand)});
    WindowRec* rec = windowOf(g.s, window);
    if (g.failed() || !rec) return false;
    bool was = rec->visible;
    rec->visible = showCommand != 0;  // SW_HIDE
    return was;
}

Result defWindowProc(Window window, unsigned message, WParam wParam, LParam lParam) {
    Gate g(Op::defWindowProc, {}, {message, wParam, num(lParam)});
    WindowRec* rec = windowOf(g.s, window);
    if (g.failed() || !rec) return 0;
    switch (message) {
        case wmClose:
            g.lock.unlock();
            destroyUnlocked(window);
            return 0;
        case wmSetText:
            rec->text = str(reinterpret_cast<const char*>(lParam));
            return 1;
        case wmGetText:
            return static_cast<Result>(copyText(rec->text, reinterpret_cast<char*>(lParam), wParam));
        default:
            return 0;
    }
}

Window getDlgItem(Window dialog, int id) {
    Gate g(Op::getDlgItem, {}, {num(id)});
    if (g.failed()) return nullptr;
    return controlLocked(g.s, dialog, id);
}

bool enableWindow(Window window, bool enable) {
    Gate g(Op::enableWindow, {}, {enable ? 1u : 0u});
    WindowRec* rec = windowOf(g.s, window);
    if (g.failed() || !rec) return false;
    bool wasDisabled = !rec->enabled;
    rec->enabled = enable;
    return wasDisabled;
}

bool setWindowText(Window window, const char* text) {
    Gate g(Op::setWindowText, {str(text)});
    WindowRec* rec = windowOf(g.s, window);
    if (g.failed() || !rec) return false;
    rec->text = str(text);
    return true;
}

bool getWorkArea(Rect* area) {
    Gate g(Op::getWorkArea);
    if (g.failed() || !area) return false;
    *area = g.s.workArea;
    return true;
}

bool getWindowRect(Window window, Rect* rect) {
    Gate g(Op::getWindowRect);
    WindowRec* rec = windowOf(g.s, window);
    if (g.failed() || !rec || !rect) return false;
    *rect = rec->rect;
    return true;
}

bool moveWindow(Window window, int x, int y, int width, int height, bool repaint) {
    Gate g(Op::moveWindow, {}, {num(x), num(y), num(width), num(height), repaint ? 1u : 0u});
    WindowRec* rec = windowOf(g.s, window);
    if (g.failed() || !rec) return false;
    rec->rect = Rect{x, y, x + width, y + height};
    return true;
}

}  // namespace platform

namespace sim::detail {

platform::Window controlLocked(State& s, platform::Window dialog, int id) {
    WindowRec* rec = windowOf(s, dialog);
    if (!rec) return nullptr;
    for (platform::Window child : rec->children) {
        WindowRec* c = windowOf(s, child);
        if (c && c->id == id) return child;
    }
    return nullptr;
}

}  // namespace sim::detail
