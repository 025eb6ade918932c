// Modal dialogs: built from templates the test defines, driven by the test's script.
#include "platform/constants.h"
#include "platform/sim/sim_windows.h"

using namespace sim::detail;
using sim::Op;

namespace sim::detail {

platform::Window buildDialog(State& s, const std::vector<Control>& controls, platform::Rect rect) {
    auto rec = std::make_unique<WindowRec>();
    rec->kind = WindowKind::dialog;
    rec->className = "#32770";
    rec->rect = rect;
    platform::Window dialog = addWindow(s, std::move(rec));
    for (const Control& c : controls) {
        auto child = std::make_unique<WindowRec>();
        child->kind = WindowKind::control;
        child->className = c.className;
        child->text = c.text;
        child->id = c.id;
        child->parent = dialog;
        platform::Window w = addWindow(s, std::move(child));
        windowAny(s, dialog)->children.push_back(w);
    }
    return dialog;
}

}  // namespace sim::detail

namespace platform {

Result dialogBox(Instance, int templateId, Window owner, DialogProc proc, LParam param) {
    Gate g(Op::dialogBox, {}, {num(templateId), num(param)});
    if (g.failed()) return -1;
    State& s = g.s;
    auto t = s.templates.find(templateId);
    if (t == s.templates.end() || (owner && !windowOf(s, owner))) return -1;
    Window dialog = buildDialog(s, t->second.controls, t->second.rect);
    WindowRec* rec = windowAny(s, dialog);
    rec->dialogProc = proc;
    rec->templateId = templateId;
    rec->parent = owner;
    rec->visible = true;
    s.lastDialogs[templateId] = dialog;
    auto script = s.scripts.count(templateId) ? s.scripts[templateId] : nullptr;

    g.lock.unlock();
    if (proc) proc(dialog, wmInitDialog, 0, param);
    g.lock.lock();
    bool ended = windowAny(s, dialog)->ended;
    g.lock.unlock();
    if (!ended && script) script(dialog);
    g.lock.lock();
    rec = windowAny(s, dialog);
    Result result = rec->ended ? rec->result : -1;
    g.lock.unlock();
    destroyUnlocked(dialog);
    return result;
}

bool endDialog(Window dialog, Result result) {
    Gate g(Op::endDialog, {}, {num(result)});
    WindowRec* rec = windowOf(g.s, dialog);
    if (g.failed() || !rec || rec->kind != sim::detail::WindowKind::dialog) return false;
    rec->ended = true;
    rec->result = result;
    return true;
}

}  // namespace platform

namespace sim {

void defineDialogTemplate(int templateId, std::vector<Control> controls, platform::Rect rect) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.templates[templateId] = DialogTemplate{std::move(controls), rect};
}

void onDialog(int templateId, std::function<void(platform::Window dialog)> script) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.scripts[templateId] = std::move(script);
}

platform::Window makeDialog(std::vector<Control> controls, platform::Rect rect) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    platform::Window dialog = buildDialog(s, controls, rect);
    windowAny(s, dialog)->visible = true;
    return dialog;
}

void setDialogProc(platform::Window dialog, platform::DialogProc proc) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (WindowRec* rec = windowOf(s, dialog)) rec->dialogProc = proc;
}

platform::Result command(platform::Window dialog, int id, unsigned notification) {
    State& s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    WindowRec* rec = windowOf(s, dialog);
    if (!rec) return 0;
    WindowProcedure proc = procedureOf(*rec);
    platform::Window control = controlLocked(s, dialog, id);
    lock.unlock();
    auto wParam = static_cast<platform::WParam>((notification & 0xFFFFu) << 16 | (id & 0xFFFF));
    return proc.call(dialog, platform::wmCommand, wParam,
                     static_cast<platform::LParam>(fromHandle(control)));
}

bool dialogEnded(platform::Window dialog) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    WindowRec* rec = windowAny(s, dialog);
    return rec && rec->ended;
}

platform::Result dialogResult(platform::Window dialog) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    WindowRec* rec = windowAny(s, dialog);
    return rec ? rec->result : 0;
}

platform::Window lastDialog(int templateId) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.lastDialogs.find(templateId);
    return it == s.lastDialogs.end() ? nullptr : it->second;
}

}  // namespace sim
