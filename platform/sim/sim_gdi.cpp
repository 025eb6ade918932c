// Fonts, the null brush and device contexts of the coloured static controls.
#include "platform/sim/sim_state.h"

using namespace sim::detail;
using sim::Op;

namespace {

constexpr platform::ColorRef colorInvalid = 0xFFFFFFFFu;
constexpr int opaqueMode = 2;

}  // namespace

namespace platform {

GdiHandle createFont(int height, int width, int escapement, int orientation, int weight,
                     bool italic, bool underline, bool strikeOut, unsigned charSet,
                     unsigned outputPrecision, unsigned clipPrecision, unsigned quality,
                     unsigned pitchAndFamily, const char* faceName) {
    Gate g(Op::createFont, {str(faceName)},
           {num(height), num(width), num(escapement), num(orientation), num(weight), italic,
            underline, strikeOut, charSet, outputPrecision, clipPrecision, quality,
            pitchAndFamily});
    if (g.failed()) return nullptr;
    std::uintptr_t h = newHandle();
    g.s.gdi[h] = std::make_unique<GdiRec>(GdiRec{GdiKind::font});
    ++g.s.liveFonts;
    return toHandle<GdiHandle>(h);
}

GdiHandle selectObject(DeviceContext dc, GdiHandle object) {
    Gate g(Op::selectObject);
    DcRec* d = lookup(g.s.dcs, dc);
    GdiRec* o = lookup(g.s.gdi, object);
    if (g.failed() || !d || !o) return nullptr;
    GdiHandle& slot = o->kind == GdiKind::stockBrush ? d->brush : d->state.font;
    GdiHandle previous = slot;
    slot = object;
    return previous;
}

ColorRef setTextColor(DeviceContext dc, ColorRef color) {
    Gate g(Op::setTextColor, {}, {color});
    DcRec* d = lookup(g.s.dcs, dc);
    if (g.failed() || !d) return colorInvalid;
    ColorRef previous = d->state.textColor;
    d->state.textColor = color;
    return previous;
}

ColorRef setBkColor(DeviceContext dc, ColorRef color) {
    Gate g(Op::setBkColor, {}, {color});
    DcRec* d = lookup(g.s.dcs, dc);
    if (g.failed() || !d) return colorInvalid;
    ColorRef previous = d->state.bkColor;
    d->state.bkColor = color;
    return previous;
}

int setBkMode(DeviceContext dc, int mode) {
    Gate g(Op::setBkMode, {}, {num(mode)});
    DcRec* d = lookup(g.s.dcs, dc);
    if (g.failed() || !d) return 0;
    int previous = d->state.bkMode;
    d->state.bkMode = mode;
    return previous;
}

bool deleteObject(GdiHandle object) {
    Gate g(Op::deleteObject);
    GdiRec* o = lookup(g.s.gdi, object);
    if (g.failed() || !o) return false;
    if (o->kind != GdiKind::font) return true;  // stock objects stay
    g.s.gdi.erase(fromHandle(object));
    --g.s.liveFonts;
    return true;
}

GdiHandle getNullBrush() {
    Gate g(Op::getNullBrush);
    return g.failed() ? nullptr : g.s.nullBrush;
}

}  // namespace platform

namespace sim {

int liveGdiObjects() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.liveFonts;
}

bool gdiObjectAlive(platform::GdiHandle object) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    GdiRec* o = lookup(s.gdi, object);
    return o && o->kind == GdiKind::font;
}

platform::DeviceContext makeDeviceContext() {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::uintptr_t h = newHandle();
    auto dc = std::make_unique<DcRec>();
    dc->state = DcState{0, 0xFFFFFF, opaqueMode, s.systemFont};
    dc->brush = s.whiteBrush;
    s.dcs[h] = std::move(dc);
    return toHandle<platform::DeviceContext>(h);
}

DcState deviceContextState(platform::DeviceContext dc) {
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    DcRec* d = lookup(s.dcs, dc);
    return d ? d->state : DcState{0, 0, 0, nullptr};
}

}  // namespace sim
