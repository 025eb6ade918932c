// Message boxes of a program under test: found among its top-level windows,
// read (caption, text, icon) and answered.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "tests/wine/e2e/icon_probe_protocol.h"
#include "tests/wine/e2e/program.h"

namespace e2e {

struct MessageBoxSeen {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string text;
    BoxIcon icon = BoxIcon::unknown;
};

// A visible message box of process `processId`: a dialog-class window that
// holds the message text control (id 0xFFFF). None if there is none now.
std::optional<MessageBoxSeen> findMessageBox(DWORD processId);
std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, DWORD timeoutMs);
// The same, passing over `ignored`: a dialog of the program whose static
// controls also carry the id 0xFFFF (Setup.exe's own form does).
std::optional<MessageBoxSeen> findMessageBox(DWORD processId, HWND ignored);
std::optional<MessageBoxSeen> waitForMessageBox(DWORD processId, DWORD timeoutMs, HWND ignored);

// Presses OK and waits until the box is destroyed, that is until the program
// has returned from MessageBoxA; false if the box stayed.
bool pressOk(const MessageBoxSeen& box);
// The same for any of the box's buttons (IDYES, IDNO, ...).
bool pressButton(const MessageBoxSeen& box, int buttonId);

// Waits for `program` to end. A message box it shows meanwhile ends the wait
// and is returned (still open); nothing if the program ended without one.
// `ended` tells whether it ended within `timeoutMs`.
std::optional<MessageBoxSeen> boxBeforeExit(const Program& program, DWORD timeoutMs, bool* ended);

}  // namespace e2e
