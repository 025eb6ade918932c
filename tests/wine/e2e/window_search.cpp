#include "tests/wine/e2e/window_search.h"

#include "tests/wine/e2e/wait.h"

namespace e2e {

namespace {

// Texts the harness reads are short; longer ones show up as a mismatch.
constexpr int textCapacity = 4096;

struct Search {
    const WindowQuery* query;
    std::vector<HWND> found;
};

bool matches(HWND window, const WindowQuery& query) {
    if (query.visibleOnly && !IsWindowVisible(window)) return false;
    if (query.processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != query.processId) return false;
    }
    if (!query.className.empty() && windowClass(window) != query.className) return false;
    return query.title.empty() || windowText(window) == query.title;
}

BOOL CALLBACK collect(HWND window, LPARAM context) {
    Search* search = reinterpret_cast<Search*>(context);
    if (matches(window, *search->query)) search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> findWindows(const WindowQuery& query) {
    Search search{&query, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(const WindowQuery& query, DWORD timeoutMs) {
    HWND window = nullptr;
    waitUntil(
        [&] {
            const std::vector<HWND> found = findWindows(query);
            window = found.empty() ? nullptr : found.front();
            return window != nullptr;
        },
        timeoutMs);
    return window;
}

std::string windowClass(HWND window) {
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

std::string windowText(HWND window) {
    std::string text(textCapacity, '\0');
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, windowTimeoutMs, &length)) {
        return std::string();
    }
    text.resize(length < text.size() ? length : text.size() - 1);
    return text;
}

std::string controlText(HWND dialog, int controlId) {
    std::string text(textCapacity, '\0');
    const UINT length = GetDlgItemTextA(dialog, controlId, &text[0], static_cast<int>(text.size()));
    text.resize(length < text.size() ? length : text.size() - 1);
    return text;
}

bool clickButton(HWND dialog, int controlId) {
    HWND button = GetDlgItem(dialog, controlId);
    return button != nullptr && PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

}  // namespace e2e
