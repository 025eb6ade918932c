// What the harness knows of Update.exe's windows: the setup dialog, its
// controls and the hidden main window that owns it.
#pragma once

#include <windows.h>

#include "tests/wine/e2e/program.h"

namespace e2e {

constexpr const char* dialogClass = "#32770";
constexpr const char* dialogCaption = "Velmora Updata";
// "Velmora", an ideographic space (81 40 in code page 932), "セットアップ".
constexpr const char* mainWindowClass = "Velmora\x81\x40セットアップ";
constexpr const char* mainWindowTitle = "Velmora";

constexpr int updateButtonId = 1008;
constexpr int cancelButtonId = IDCANCEL;
constexpr int questionTextId = 1009;

// The setup dialog of `program` once it shows; none if the program ends first.
HWND waitForUpdateDialog(const Program& program, DWORD timeoutMs);

}  // namespace e2e
