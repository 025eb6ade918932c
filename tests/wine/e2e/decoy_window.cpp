#include "tests/wine/e2e/decoy_window.h"

namespace e2e {

DecoyWindow::DecoyWindow(const char* title) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);  // fails harmlessly when a decoy was made before
    window_ = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                              120, nullptr, nullptr, windowClass.hInstance, nullptr);
}

DecoyWindow::~DecoyWindow() {
    if (window_) DestroyWindow(window_);
}

}  // namespace e2e
