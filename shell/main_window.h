// The hidden main window: zero-sized, never drawn; its class and title mark a
// running copy of the program.
#pragma once
#include "platform/types.h"

extern platform::Window mainWindow;
extern platform::Instance appInstance;

bool createMainWindow(platform::Instance instance, platform::Instance previousInstance,
                      int showCommand, bool checkSingleInstance);
platform::Result PLATFORM_CALLBACK mainWindowProc(platform::Window window, unsigned message,
                                                  platform::WParam wParam,
                                                  platform::LParam lParam);
