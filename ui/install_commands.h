// The install and maintenance commands of the setup dialog.
#pragma once
#include "platform/types.h"

// Command 1000: install, or request the abort of a running copy. The reply for
// WM_COMMAND: 0 when the install thread could not be started, else 1.
platform::Result installOrAbortCommand(platform::Window dialog);
void startGameCommand(platform::Window dialog);   // 1001
void chooseFolderCommand();                       // 1003
void readmeCommand();                             // 1006
void uninstallCommand();                          // 1014
void manualCommand();                             // 1020
// Commands 2 and 1002: end the dialog and the program.
void exitCommand(platform::Window dialog);
