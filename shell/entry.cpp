#include "shell/entry.h"

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/windowing.h"
#include "shell/main_window.h"
#include "shell/profile_configuration.h"
#include "shell/product_profile.h"
#include "ui/dialog_ids.h"
#include "ui/folder_chooser.h"
#include "ui/setup_dialog.h"

int runSetupProgram(platform::Instance instance, platform::Instance previousInstance,
                    int showCommand, int dialogTemplate) {
    if (!createMainWindow(instance, previousInstance, showCommand, true)) return 0;

    configureFromProfile(setupEngine);
    setupEngine.setProgressControl(ids::progressBar);
    folderChooser.init(appInstance, mainWindow);

    // Nothing would post the quit message if the dialog never ran.
    if (platform::dialogBox(instance, dialogTemplate, mainWindow, setupDialogProc, 0) == -1)
        return dialogFailedExitCode;

    platform::Message message;
    for (;;) {
        if (!platform::peekMessage(&message)) continue;
        if (message.message == platform::wmQuit) return static_cast<int>(message.wParam);
        platform::translateMessage(&message);
        platform::dispatchMessage(&message);
    }
}
