// The setup dialog's window, recorded when the dialog starts and never cleared.
// The engine's status lines and progress bar are its controls.
#pragma once
#include "platform/types.h"

extern platform::Window setupDialogWindow;
