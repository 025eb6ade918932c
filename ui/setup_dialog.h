// The setup dialog: the one window the user sees.
#pragma once
#include "engine/dialog_window.h"
#include "platform/types.h"

platform::Result PLATFORM_CALLBACK setupDialogProc(platform::Window window, unsigned message,
                                                   platform::WParam wParam,
                                                   platform::LParam lParam);
// Ends the dialog and the program: EndDialog(2), then the quit message.
void endSetupDialog(platform::Window window);
