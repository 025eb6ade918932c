#include "tests/wine/e2e/setup_form.h"

#include "tests/wine/e2e/wait.h"
#include "tests/wine/e2e/window_search.h"

namespace e2e {

namespace {

HWND waitForDialog(const Program& program, const char* title, int controlId, DWORD timeoutMs) {
    WindowQuery query;
    query.className = "#32770";
    query.title = title == nullptr ? "" : title;
    query.processId = program.id();
    HWND dialog = nullptr;
    waitUntil(
        [&] {
            dialog = nullptr;
            for (HWND window : findWindows(query)) {
                if (GetDlgItem(window, controlId) != nullptr) dialog = window;
            }
            return dialog != nullptr || !program.running();
        },
        timeoutMs);
    return dialog;
}

}  // namespace

HWND waitForSetupDialog(const Program& program, DWORD timeoutMs) {
    // The component dialog holds no 1000; a message box holds no 1019.
    return waitForDialog(program, nullptr, setupIds::statusLine0, timeoutMs);
}

HWND waitForComponentDialog(const Program& program, DWORD timeoutMs) {
    return waitForDialog(program, componentDialogCaption, componentIds::ok, timeoutMs);
}

bool controlEnabled(HWND dialog, int controlId) {
    return IsWindowEnabled(GetDlgItem(dialog, controlId)) != FALSE;
}

bool clickAndWait(HWND dialog, int controlId, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG,
                               timeoutMs, &ignored) != 0;
}

bool isChecked(HWND dialog, int controlId) {
    return SendDlgItemMessageA(dialog, controlId, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace e2e
