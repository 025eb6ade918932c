// The test side of windows: inspecting and changing them without seam calls.
#include "platform/sim/sim_windows.h"

using namespace sim::detail;

namespace sim {

namespace {

template <class T, class Get>
T read(platform::Window window, T missing, Get get) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    WindowRec* rec = windowAny(s, window);
    return rec ? get(*rec) : missing;
}

template <class T, class Get>
T readControl(platform::Window dialog, int id, T missing, Get get) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    WindowRec* d = windowAny(s, dialog);
    if (!d) return missing;
    for (platform::Window child : d->children) {
        WindowRec* c = windowAny(s, child);
        if (c && c->id == id) return get(*c);
    }
    return missing;
}

}  // namespace

void destroyWindow(platform::Window window) { destroyUnlocked(window); }

void setWorkArea(platform::Rect area) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.workArea = area;
}

platform::Rect windowRect(platform::Window window) {
    return read(window, platform::Rect{}, [](WindowRec& r) { return r.rect; });
}

std::string windowText(platform::Window window) {
    return read(window, std::string(), [](WindowRec& r) { return r.text; });
}

bool windowExists(platform::Window window) {
    return read(window, false, [](WindowRec& r) { return !r.destroyed; });
}

std::vector<Sent> sentTo(platform::Window window) {
    return read(window, std::vector<Sent>(), [](WindowRec& r) { return r.sent; });
}

ProgressBar progressBar(platform::Window bar) {
    return read(bar, ProgressBar{0, 0, 0, 0}, [](WindowRec& r) {
        return ProgressBar{r.rangeLow, r.rangeHigh, r.step, r.position};
    });
}

int progressPosition(platform::Window bar) { return progressBar(bar).position; }

int paints(platform::Window window) {
    return read(window, 0, [](WindowRec& r) { return r.paints; });
}

std::string controlText(platform::Window dialog, int id) {
    return readControl(dialog, id, std::string(), [](WindowRec& c) { return c.text; });
}

bool controlEnabled(platform::Window dialog, int id) {
    return readControl(dialog, id, false, [](WindowRec& c) { return c.enabled; });
}

int checkState(platform::Window dialog, int id) {
    return readControl(dialog, id, 0, [](WindowRec& c) { return c.check; });
}

void setCheckState(platform::Window dialog, int id, int state) {
    readControl(dialog, id, 0, [state](WindowRec& c) { return c.check = state; });
}

platform::Window control(platform::Window dialog, int id) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return controlLocked(s, dialog, id);
}

platform::Window addTopLevelWindow(const std::string& className, const std::string& title) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto rec = std::make_unique<WindowRec>();
    rec->kind = WindowKind::foreign;
    rec->className = className;
    rec->text = title;
    rec->visible = true;
    return addWindow(s, std::move(rec));
}

std::vector<platform::Window> topLevelWindows() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::vector<platform::Window> out;
    for (platform::Window w : s.topLevelOrder)
        if (windowOf(s, w)) out.push_back(w);
    return out;
}

}  // namespace sim
