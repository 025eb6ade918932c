#include "tests/wine/e2e/wait.h"

namespace e2e {

namespace {

constexpr DWORD pollMs = 50;

void drainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        drainQueue();
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        pumpFor(pollMs);
    }
}

bool waitForObject(HANDLE object, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        drainQueue();
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
        const DWORD result =
            MsgWaitForMultipleObjects(1, &object, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) return true;
        if (result == WAIT_FAILED) return false;
    }
}

}  // namespace e2e
