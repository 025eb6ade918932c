// Finding the top-level windows of a program and reading and pressing their
// controls from outside, as a user or an accessibility tool would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// What a top-level window must match; empty or zero fields match anything.
struct WindowQuery {
    std::string className;
    std::string title;
    DWORD processId = 0;
    bool visibleOnly = true;
};

// The top-level windows of the driver's desktop that match, in z-order.
std::vector<HWND> findWindows(const WindowQuery& query);
// The first match that appears within `timeoutMs`, or none.
HWND waitForWindow(const WindowQuery& query, DWORD timeoutMs);

std::string windowClass(HWND window);
// The text by WM_GETTEXT, read in the driver's code page (932).
std::string windowText(HWND window);
// A control's text by GetDlgItemTextA.
std::string controlText(HWND dialog, int controlId);

// Presses a button as a click would: BM_CLICK, posted so that a modal loop
// the click starts never blocks the driver.
bool clickButton(HWND dialog, int controlId);

}  // namespace e2e
