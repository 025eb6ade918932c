// The hook procedure of e2e_icon_probe.dll; see icon_probe_protocol.h.
#include <windows.h>

#include "tests/wine/e2e/icon_probe_protocol.h"

namespace {

e2e::BoxIcon kindOf(HICON shown) {
    if (shown == nullptr) return e2e::BoxIcon::none;
    // LoadIcon of a standard icon gives this process's shared handle.
    if (shown == LoadIconA(nullptr, IDI_EXCLAMATION)) return e2e::BoxIcon::exclamation;
    if (shown == LoadIconA(nullptr, IDI_HAND)) return e2e::BoxIcon::hand;
    if (shown == LoadIconA(nullptr, IDI_QUESTION)) return e2e::BoxIcon::question;
    if (shown == LoadIconA(nullptr, IDI_ASTERISK)) return e2e::BoxIcon::asterisk;
    return e2e::BoxIcon::other;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK iconProbeHook(int code, WPARAM wParam,
                                                                LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == RegisterWindowMessageA(e2e::iconProbeMessageName)) {
            HICON shown = reinterpret_cast<HICON>(SendMessageA(call->hwnd, STM_GETICON, 0, 0));
            SetPropA(call->hwnd, e2e::iconProbeProperty,
                     reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kindOf(shown))));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
