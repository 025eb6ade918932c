#include "tests/wine/e2e/message_box.h"

#include "tests/wine/e2e/icon_probe.h"
#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace e2e {

namespace {

constexpr int messageTextId = 0xFFFF;
// Windows numbers the icon control 0x14; Wine's template numbers it 0x440.
// Either way it is the one static control of the box with the SS_ICON style.
constexpr int windowsIconId = 0x14;

bool isIconStatic(HWND control) {
    return control != nullptr && windowClass(control) == "Static" &&
           (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

BOOL CALLBACK firstIconStatic(HWND control, LPARAM found) {
    if (!isIconStatic(control)) return TRUE;
    *reinterpret_cast<HWND*>(found) = control;
    return FALSE;
}

HWND iconControl(HWND box) {
    HWND control = GetDlgItem(box, windowsIconId);
    if (isIconStatic(control)) return control;
    control = nullptr;
    EnumChildWindows(box, firstIconStatic, reinterpret_cast<LPARAM>(&control));
    return control;
}

}  // namespace

std::optional<MessageBoxSeen> findMessageBox(DWORD processId) {
    return findMessageBox(processId, nullptr);
}

std::optional<MessageBoxSeen> findMessageBox(DWORD processId, HWND ignored) {
    WindowQuery query;
    query.className = "#32770";
    query.processId = processId;
    for (HWND window : findWindows(query)) {
        if (window == ignored || GetDlgItem(window, messageTextId) == nullptr) continue;
        MessageBoxSeen box;
        box.window = window;
        box.owner = GetWindow(window, GW_OWNER);
        box.caption = windowText(window);
        box.text = controlText(window, messageTextId);
        box.icon = probeIcon(iconControl(window));
        return box;
    }
    return std::nullopt;
}

std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, DWORD timeoutMs) {
    return waitForMessageBox(processId, timeoutMs, nullptr);
}

std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, DWORD timeoutMs, HWND ignored) {
    std::optional<MessageBoxSeen> box;
    waitUntil([&] { return (box = findMessageBox(processId, ignored)).has_value(); }, timeoutMs);
    return box;
}

bool pressOk(const MessageBoxSeen& box) { return pressButton(box, IDOK); }

bool pressButton(const MessageBoxSeen& box, int buttonId) {
    if (!clickButton(box.window, buttonId)) return false;
    return waitUntil([&] { return !IsWindow(box.window); }, windowTimeoutMs);
}

std::optional<MessageBoxSeen> boxBeforeExit(const Program& program, DWORD timeoutMs, bool* ended) {
    std::optional<MessageBoxSeen> box;
    waitUntil(
        [&] {
            if (!program.running()) return true;
            box = findMessageBox(program.id());
            return box.has_value();
        },
        timeoutMs);
    *ended = !program.running();
    return box;
}

}  // namespace e2e
