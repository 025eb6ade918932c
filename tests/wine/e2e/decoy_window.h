// A top-level window of the driver's own class with a title of choice: what
// another program's window (a running game, say) looks like to the program
// under test.
#pragma once

#include <windows.h>

namespace e2e {

class DecoyWindow {
public:
    explicit DecoyWindow(const char* title);
    ~DecoyWindow();
    DecoyWindow(const DecoyWindow&) = delete;
    DecoyWindow& operator=(const DecoyWindow&) = delete;

    HWND window() const { return window_; }

    static constexpr const char* className = "VelmoraE2E Decoy";

private:
    HWND window_ = nullptr;
};

}  // namespace e2e
