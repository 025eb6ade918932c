// The Windows entry point of both flavours; the flavour's dialog template comes
// from the build (VELMORA_DIALOG_TEMPLATE).
#include <windows.h>
#include <commctrl.h>

#include "platform/types.h"
#include "shell/entry.h"

#ifndef VELMORA_DIALOG_TEMPLATE
#define VELMORA_DIALOG_TEMPLATE 105
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
    // The install form's progress bar is a common control: its class must be
    // registered before the dialog is made.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    return runSetupProgram(reinterpret_cast<platform::Instance>(instance),
                           reinterpret_cast<platform::Instance>(previousInstance), showCommand,
                           VELMORA_DIALOG_TEMPLATE);
}
