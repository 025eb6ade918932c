#include "tests/wine/e2e/icon_probe.h"

#include <string>

#include "tests/wine/e2e/program.h"
#include "tests/wine/e2e/wait.h"

namespace e2e {

namespace {

HMODULE probeLibrary() {
    static HMODULE library = LoadLibraryA((driverFolder() + "\\e2e_icon_probe.dll").c_str());
    return library;
}

}  // namespace

BoxIcon probeIcon(HWND iconControl) {
    HMODULE library = probeLibrary();
    if (library == nullptr || iconControl == nullptr) return BoxIcon::unknown;
    HOOKPROC hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, iconProbeHookName)));
    const DWORD thread = GetWindowThreadProcessId(iconControl, nullptr);
    HHOOK installed = SetWindowsHookExA(WH_CALLWNDPROC, hook, library, thread);
    if (installed == nullptr) return BoxIcon::unknown;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(iconControl, RegisterWindowMessageA(iconProbeMessageName), 0, 0,
                        SMTO_ABORTIFHUNG, windowTimeoutMs, &ignored);
    UnhookWindowsHookEx(installed);
    const INT_PTR kind = reinterpret_cast<INT_PTR>(GetPropA(iconControl, iconProbeProperty));
    return kind >= 1 && kind <= static_cast<INT_PTR>(BoxIcon::other) ? static_cast<BoxIcon>(kind)
                                                                     : BoxIcon::unknown;
}

const char* boxIconName(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::none: return "no icon";
        case BoxIcon::exclamation: return "exclamation (warning)";
        case BoxIcon::hand: return "hand (error)";
        case BoxIcon::question: return "question";
        case BoxIcon::asterisk: return "asterisk (information)";
        case BoxIcon::other: return "a non-standard icon";
        case BoxIcon::unknown: break;
    }
    return "unknown (the probe did not answer)";
}

}  // namespace e2e
