// SendMessageA: the window's procedure, then the standard controls' own handling
// (texts, button checks and clicks, the progress bar, the folder browser's selection).
#include "platform/constants.h"
#include "platform/sim/sim_windows.h"

using namespace sim::detail;
using sim::Op;

namespace {

constexpr unsigned pbmDeltaPos = 0x0403, pbmSetRange32 = 0x0406, pbmGetRange = 0x0407,
                   pbmGetPos = 0x0408;

int clampTo(int v, int low, int high) { return v < low ? low : (v > high ? high : v); }

platform::Result progressMessage(WindowRec& bar, unsigned message, platform::WParam wParam,
                                 platform::LParam lParam) {
    int old = bar.position;
    switch (message) {
        case platform::pbmSetRange:
        case pbmSetRange32: {
            platform::Result previous = (bar.rangeLow & 0xFFFF) | ((bar.rangeHigh & 0xFFFF) << 16);
            if (message == platform::pbmSetRange) {
                bar.rangeLow = static_cast<int>(lParam & 0xFFFF);
                bar.rangeHigh = static_cast<int>((lParam >> 16) & 0xFFFF);
            } else {
                bar.rangeLow = static_cast<int>(wParam);
                bar.rangeHigh = static_cast<int>(lParam);
            }
            bar.position = clampTo(bar.position, bar.rangeLow, bar.rangeHigh);
            return previous;
        }
        case platform::pbmSetPos:
            bar.position = clampTo(static_cast<int>(wParam), bar.rangeLow, bar.rangeHigh);
            return old;
        case pbmDeltaPos:
            bar.position = clampTo(old + static_cast<int>(wParam), bar.rangeLow, bar.rangeHigh);
            return old;
        case platform::pbmSetStep: {
            int previous = bar.step;
            bar.step = static_cast<int>(wParam);
            return previous;
        }
        case platform::pbmStepIt: {
            // Past the end of the range the bar starts over from the beginning.
            int next = old + bar.step;
            if (next > bar.rangeHigh) next = bar.rangeLow;
            if (next < bar.rangeLow) next = bar.rangeHigh;
            bar.position = next;
            return old;
        }
        case pbmGetRange:
            return wParam ? bar.rangeLow : bar.rangeHigh;
        case pbmGetPos:
            return old;
        default:
            return 0;
    }
}

// A control's or dialog's default handling; lock held. Sets *click when a button was
// clicked and its dialog's procedure must hear of it.
platform::Result defaultHandling(State& s, platform::Window window, WindowRec& rec, unsigned message,
                                 platform::WParam wParam, platform::LParam lParam, bool* click) {
    switch (message) {
        case platform::wmSetText:
            rec.text = str(reinterpret_cast<const char*>(lParam));
            return 1;
        case platform::wmSetRedraw:
            rec.redraw = wParam != 0;
            return 0;
        case platform::wmGetText:
            return static_cast<platform::Result>(
                copyText(rec.text, reinterpret_cast<char*>(lParam), wParam));
        default:
            break;
    }
    if (sameName(rec.className, "button")) {
        if (message == platform::bmSetCheck) rec.check = static_cast<int>(wParam);
        if (message == platform::bmGetCheck) return rec.check;
        if (message == platform::bmClick) *click = rec.enabled && rec.parent;
        return 0;
    }
    if (sameName(rec.className, "msctls_progress32")) {
        const platform::Result result = progressMessage(rec, message, wParam, lParam);
        // The real bar draws itself at once after each change of range or position.
        const bool changes = message == platform::pbmSetRange || message == platform::pbmSetPos ||
                             message == platform::pbmStepIt || message == pbmDeltaPos ||
                             message == pbmSetRange32;
        if (changes && rec.redraw) ++rec.paints;
        return result;
    }
    if (rec.kind == WindowKind::browser && message == platform::bffmSetSelectionA) {
        for (sim::Browsed& b : s.browses) {
            if (b.window != window) continue;
            if (wParam) {
                b.selection = str(reinterpret_cast<const char*>(lParam));
            } else {
                auto item = s.items.find(static_cast<std::uintptr_t>(lParam));
                if (item != s.items.end()) b.selection = item->second->path;
            }
        }
    }
    return 0;
}

}  // namespace

namespace platform {

Result sendMessage(Window window, unsigned message, WParam wParam, LParam lParam) {
    std::vector<std::string> texts;
    if (message == wmSetText) texts.push_back(str(reinterpret_cast<const char*>(lParam)));
    Gate g(Op::sendMessage, std::move(texts), {message, wParam, num(lParam)});
    WindowRec* rec = windowOf(g.s, window);
    if (g.failed() || !rec) return 0;
    rec->sent.push_back(sim::Sent{message, wParam, lParam});
    WindowProcedure proc = procedureOf(*rec);
    if (proc.exists()) {
        g.lock.unlock();
        Result handled = proc.call(window, message, wParam, lParam);
        // A window procedure answers for itself; a dialog procedure's 0 leaves the message
        // to the dialog's default handling.
        if (!proc.dialog || handled) return handled;
        g.lock.lock();
        rec = windowOf(g.s, window);
        if (!rec) return 0;
    }
    bool click = false;
    Result result = defaultHandling(g.s, window, *rec, message, wParam, lParam, &click);
    if (click) {
        WindowRec* dialog = windowOf(g.s, rec->parent);
        WindowProcedure parent = dialog ? procedureOf(*dialog) : WindowProcedure{};
        Window owner = rec->parent;
        int id = rec->id;
        g.lock.unlock();
        parent.call(owner, wmCommand, static_cast<WParam>(id & 0xFFFF),
                    static_cast<LParam>(fromHandle(window)));
    }
    return result;
}

bool invalidateWindow(Window window) {
    Gate g(Op::invalidateWindow);
    WindowRec* rec = windowOf(g.s, window);
    if (g.failed() || !rec) return false;
    if (rec->redraw) ++rec->paints;
    return true;
}

}  // namespace platform
