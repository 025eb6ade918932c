#include "tests/wine/e2e/update_dialog.h"

#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace e2e {

HWND waitForUpdateDialog(const Program& program, DWORD timeoutMs) {
    WindowQuery query;
    query.className = dialogClass;
    query.title = dialogCaption;
    query.processId = program.id();
    HWND dialog = nullptr;
    waitUntil(
        [&] {
            const std::vector<HWND> found = findWindows(query);
            dialog = found.empty() ? nullptr : found.front();
            return dialog != nullptr || !program.running();
        },
        timeoutMs);
    return dialog;
}

}  // namespace e2e
