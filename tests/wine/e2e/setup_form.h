// What the harness knows of Setup.exe's windows: the install form of the setup
// dialog, the component dialog it opens, and their controls.
#pragma once

#include <windows.h>

#include <string>

#include "tests/wine/e2e/program.h"

namespace e2e {

namespace setupIds {
constexpr int install = 1000;  // "中断" while an install runs
constexpr int startGame = 1001;
constexpr int exitProgram = 1002;
constexpr int chooseFolder = 1003;
constexpr int progressBar = 1005;
constexpr int readme = 1006;
constexpr int uninstall = 1014;
constexpr int statusLine0 = 1019;
constexpr int manual = 1020;
constexpr int statusLine1 = 1021;
}  // namespace setupIds

namespace componentIds {
constexpr int ok = 1012;
constexpr int cancel = 1013;
constexpr int installType = 1015;
constexpr int graphics = 1021;
constexpr int music = 1022;
constexpr int voices = 1023;
}  // namespace componentIds

constexpr const char* componentDialogCaption = "インストールする項目の選択";

// The setup dialog of `program` (the dialog holding the install button) once
// it shows; none if the program ends first.
HWND waitForSetupDialog(const Program& program, DWORD timeoutMs);
// The component dialog of `program` once it shows, or none.
HWND waitForComponentDialog(const Program& program, DWORD timeoutMs);

bool controlEnabled(HWND dialog, int controlId);
// Sends BM_CLICK and returns once the dialog's thread has handled the click:
// for commands that open no modal loop. False if the thread did not answer.
bool clickAndWait(HWND dialog, int controlId, DWORD timeoutMs);
bool isChecked(HWND dialog, int controlId);

}  // namespace e2e
